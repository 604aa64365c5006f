// The pager object: its life, the host's plain calls, and Load, Save and the
// tooltip text, which hand over to core/. The grid and the settings command
// have files of their own.
#include "plugin/pager_plugin.h"

#include <new>
#include <string.h>

#include "win/module.h"
#include "win/window_cloak.h"
#include "core/desktop_table.h"
#include "core/state_stream.h"
#include "core/window_lists.h"
#include "plugin/hot_keys.h"
#include "plugin/live_pagers.h"

const char kInstanceMutexName[] = "85FC560F-B98D-4656-AA79-41F0E1CCA920";

CPagerPlugin* CreatePagerPlugin()
{
    return new (std::nothrow) CPagerPlugin();
}

CPagerPlugin::CPagerPlugin()
{
    refCount = 1;
    formatVersion = 1;
    hostValue1 = 0;
    hostValue2 = 0;
    hostText[0] = '\0';
    resourceInstance = ModuleInstance();
    columnsInUse = 2;
    rows = 2;
    site = NULL;
    hoverIndex = -1;
    paintedBar = NULL;
    SetRectEmpty(&barRect);
    SetDefaultSettings();
    // Here, where no lock is held, rather than in a switch or a tooltip.
    PrepareCloakQuery();
    g_desktopTable.Reset(settings.desktopCount);
    instanceMutex = CreateMutexA(NULL, FALSE, kInstanceMutexName);
    mutexCreateError = GetLastError();
}

void CPagerPlugin::SetDefaultSettings()
{
    memset(&settings, 0, sizeof(settings));
    settings.columns = columnsInUse;
    settings.reserved = sizeof(settings);
    settings.desktopCount = rows * columnsInUse;
    settings.currentColor = kDefaultCurrentColor;
    settings.occupiedColor = kDefaultOccupiedColor;
    settings.emptyColor = kDefaultEmptyColor;
    settings.hoverColor = kDefaultHoverColor;
    strcpy(settings.faceName, "Tahoma");
}

CPagerPlugin::~CPagerPlugin()
{
    LeaveLivePagers();
    g_desktopTable.RestoreAll();
    if (instanceMutex)
        CloseHandle(instanceMutex);
    // font's own destructor deletes the cell font.
}

void* CPagerPlugin::DestroySelf(unsigned int flags)
{
    this->~CPagerPlugin();
    if (flags & 1)
        ::operator delete(this);
    return this;
}

HRESULT STDMETHODCALLTYPE CPagerPlugin::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = NULL;
    if (IsEqualIID(riid, IID_IBarPlugin))
        *ppv = static_cast<IBarPlugin*>(this);
    if (IsEqualIID(riid, IID_IUnknown))
        *ppv = static_cast<IBarPlugin*>(this);
    if (!*ppv)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE CPagerPlugin::AddRef()
{
    return ++refCount;
}

ULONG STDMETHODCALLTYPE CPagerPlugin::Release()
{
    if (--refCount == 0)
    {
        // Showing the windows lets messages in; a call that arrives meanwhile
        // takes and gives back a reference without destroying us again.
        refCount = 1;
        DestroySelf(1);
        return 0;
    }
    return refCount;
}

HRESULT STDMETHODCALLTYPE CPagerPlugin::Load(IStream* stream)
{
    if (stream)
        LoadState(stream, &settings, g_desktopTable, &loadStaging);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPagerPlugin::Save(IStream* stream)
{
    if (!stream)
        return S_OK;
    return SaveState(stream, formatVersion, settings, g_desktopTable, &saveStaging);
}

// Null pointers from the host make a call that is ignored, with the result
// that the call gives when it has nothing to do.
HRESULT STDMETHODCALLTYPE CPagerPlugin::SetRect(const RECT* rect)
{
    if (rect)
        barRect = *rect;
    return 0;
}

HRESULT STDMETHODCALLTYPE CPagerPlugin::SetSite(IBarSite* newSite)
{
    site = newSite;  // held without a reference: the host keeps it alive
    if (site)
    {
        AddLivePager(this, NULL);
        ClaimHotKeys(this);
    }
    else
        LeaveLivePagers();
    return 0;
}

void CPagerPlugin::LeaveLivePagers()
{
    RemoveLivePager(this);
    ReleaseHotKeys(this);
}

HRESULT STDMETHODCALLTYPE CPagerPlugin::SetHostValue1(int value)
{
    hostValue1 = value;
    return 0;
}

HRESULT STDMETHODCALLTYPE CPagerPlugin::SetHostValue2(int value, int* answer)
{
    if (answer)
        *answer = 1;
    hostValue2 = value;
    return 0;
}

HRESULT STDMETHODCALLTYPE CPagerPlugin::SetText(const char* text)
{
    // Longer texts are cut so that hostText always ends in its NUL.
    if (text)
        lstrcpynA(hostText, text, kHostTextSize);
    return 0;
}

HRESULT STDMETHODCALLTYPE CPagerPlugin::SetResourceInstance(DWORD, HINSTANCE instance)
{
    resourceInstance = instance ? instance : ModuleInstance();
    return 0;
}

HRESULT STDMETHODCALLTYPE CPagerPlugin::Reserved11(DWORD, DWORD, DWORD) { return 1; }
HRESULT STDMETHODCALLTYPE CPagerPlugin::Reserved14(DWORD, DWORD, DWORD) { return 1; }
HRESULT STDMETHODCALLTYPE CPagerPlugin::Reserved16() { return 0; }
HRESULT STDMETHODCALLTYPE CPagerPlugin::Reserved19(DWORD, DWORD, DWORD, DWORD) { return 0; }
HRESULT STDMETHODCALLTYPE CPagerPlugin::Reserved20(DWORD) { return 0; }
HRESULT STDMETHODCALLTYPE CPagerPlugin::Reserved22(DWORD) { return 1; }
HRESULT STDMETHODCALLTYPE CPagerPlugin::Reserved23(DWORD) { return 1; }

HRESULT STDMETHODCALLTYPE CPagerPlugin::GetInfo(BarInfo* info)
{
    if (!info)
        return 0;
    if (info->flags & kInfoValue01)
        info->value01 = 1;
    if (info->flags & kInfoValue02)
        info->value02 = 1;
    // The layout reads the count alone: no lock, so that a host may ask from
    // inside a message that a switch on another thread sends it.
    if (info->flags & (kInfoWidth | kInfoWidthAlt))
    {
        UpdateLayout(info->height);
        info->width = columnsInUse * font.cellWidth;
    }
    if (info->flags & kInfoText)
        memcpy(info->text, hostText, strlen(hostText) + 1);
    return 0;
}

void CPagerPlugin::GetTooltipText(UINT index, char* text)
{
    WriteTooltipText(g_desktopTable, index, text, kTooltipTextSize);
}

HRESULT STDMETHODCALLTYPE CPagerPlugin::GetItemInfo(int type, UINT index, void* answer)
{
    if (!answer)
        return 1;
    // The count and the cells take no lock (see GetInfo); the tooltip takes a
    // copy of the list and reads the titles after.
    switch (type)
    {
    case kItemCount:
        *static_cast<int*>(answer) = g_desktopTable.Count();
        return 0;
    case kItemRect:
        *static_cast<RECT*>(answer) = GetCellRect(index);
        return 0;
    case kItemTooltip:
        GetTooltipText(index, static_cast<char*>(answer));
        return 0;
    default:
        return 1;
    }
}
