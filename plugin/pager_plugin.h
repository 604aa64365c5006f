// The pager: the one COM object of the module, driven by the host through
// IBarPlugin. It owns the settings, the grid layout and the site; the desktop
// table, the state stream and the tooltip lists it drives live in core/.
#pragma once

#include <windows.h>

#include "plugin/bar_interfaces.h"
#include "plugin/pager_font.h"
#include "core/desktop_table.h"
#include "core/pager_settings.h"
#include "win/critical_section.h"
#include "win/module.h"

const int kHostTextSize = 260;

enum DesktopMove
{
    kSwitchDesktop,
    kSendWindow,
    kCarryWindow,
};
extern const char kInstanceMutexName[];

class CPagerPlugin : public IBarPlugin
{
public:
    CPagerPlugin();

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IBarPlugin
    HRESULT STDMETHODCALLTYPE Load(IStream* stream) override;
    HRESULT STDMETHODCALLTYPE Save(IStream* stream) override;
    HRESULT STDMETHODCALLTYPE SetRect(const RECT* rect) override;
    HRESULT STDMETHODCALLTYPE SetSite(IBarSite* newSite) override;
    HRESULT STDMETHODCALLTYPE SetHostValue1(int value) override;
    HRESULT STDMETHODCALLTYPE Paint(HDC hdc, const POINT* origin) override;
    HRESULT STDMETHODCALLTYPE OnMouseMove(DWORD ignored, int x, int y) override;
    HRESULT STDMETHODCALLTYPE OnMouseLeave(DWORD ignored) override;
    HRESULT STDMETHODCALLTYPE Reserved11(DWORD, DWORD, DWORD) override;
    HRESULT STDMETHODCALLTYPE Configure(IStream* stream) override;
    HRESULT STDMETHODCALLTYPE SetHostValue2(int value, int* answer) override;
    HRESULT STDMETHODCALLTYPE Reserved14(DWORD, DWORD, DWORD) override;
    HRESULT STDMETHODCALLTYPE OnClick(DWORD ignored, int x, int y) override;
    HRESULT STDMETHODCALLTYPE Reserved16() override;
    HRESULT STDMETHODCALLTYPE OnCommand(int id) override;
    HRESULT STDMETHODCALLTYPE SetText(const char* text) override;
    HRESULT STDMETHODCALLTYPE Reserved19(DWORD, DWORD, DWORD, DWORD) override;
    HRESULT STDMETHODCALLTYPE Reserved20(DWORD) override;
    HRESULT STDMETHODCALLTYPE SetResourceInstance(DWORD ignored, HINSTANCE instance) override;
    HRESULT STDMETHODCALLTYPE Reserved22(DWORD) override;
    HRESULT STDMETHODCALLTYPE Reserved23(DWORD) override;
    HRESULT STDMETHODCALLTYPE GetInfo(BarInfo* info) override;
    HRESULT STDMETHODCALLTYPE GetItemInfo(int type, UINT index, void* answer) override;

    // Slot 26, after the interface's operations. It is declared as a plain
    // virtual member taking the flags rather than as a C++ virtual destructor,
    // because GCC would put two destructor entries there and MSVC one; this way
    // every compiler lays out the deleting destructor a host expects:
    // a thiscall entry that destroys the object and, with bit 0 set, frees it.
    virtual void* DestroySelf(unsigned int flags);

    // Grid
    void UpdateLayout(int barHeight);
    int HitTest(int x, int y) const;
    RECT GetCellRect(UINT index) const;
    static HWND FindTopLevel(HWND window);

    // Tooltip text of a cell: the titles of that desktop's windows.
    void GetTooltipText(UINT index, char* text);

    // A switch the user asked for, by a click or a key: to desktop `index`,
    // alone, or sending or carrying `window` there. The host is told, and
    // every pager's grid repainted.
    void MoveToDesktop(int index, HWND window, DesktopMove move);
    // Runs a key's command; this pager holds the keys.
    void RunKeyCommand(int command);

    CModuleReference moduleReference;  // first: counted until the last member is gone
    LONG refCount;
    int formatVersion;
    RECT barRect;
    int hostValue1;
    int hostValue2;
    char hostText[kHostTextSize];
    HINSTANCE resourceInstance;
    IBarSite* site;
    CCriticalSection lock;  // the settings and the site against a call from another thread
    HANDLE instanceMutex;
    DWORD mutexCreateError;
    CPagerFont font;
    int rows;
    int columnsInUse;
    PagerSettings settings;
    int hoverIndex;
    HWND paintedBar;  // the window the host last painted the grid into, once known
    // Where Load stages the lists it reads, until the stream has arrived
    // whole, and Save the copy it writes: the table is not locked while
    // the host's stream is read or written.
    DesktopLists loadStaging;
    DesktopLists saveStaging;

private:
    ~CPagerPlugin();  // reached only through DestroySelf
    void LeaveLivePagers();
    void SetDefaultSettings();
};

// Allocates and constructs a pager; null when memory is exhausted.
CPagerPlugin* CreatePagerPlugin();
