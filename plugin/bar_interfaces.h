// The host bar's interfaces as the host compiles them: every operation is
// __stdcall and takes the object first, in the slot order given here.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <stddef.h>
#include <stdint.h>

#include "pager_class_id.h"

// The ids a host and the pager share. Namespace-scope constants: every file
// that includes this gets its own copy, so a host links nothing of the module.

// {AB1982DF-9DA2-4FB4-9695-F23FB1F6E85F}, the plug-in interface.
const IID IID_IBarPlugin = {0xAB1982DF, 0x9DA2, 0x4FB4, {0x96, 0x95, 0xF2, 0x3F, 0xB1, 0xF6, 0xE8, 0x5F}};
// The pager's class (PAGER_CLASS_ID in CMakeLists.txt).
const CLSID CLSID_PagerPlugin = PAGER_CLASS_ID_INITIALIZER;
// {49E86696-EAA6-45A2-9480-C78C013B9713}, the category of the bar's plug-ins.
const GUID CATID_BarPlugin = {0x49E86696, 0xEAA6, 0x45A2, {0x94, 0x80, 0xC7, 0x8C, 0x01, 0x3B, 0x97, 0x13}};

const DWORD kInfoValue01 = 0x01;
const DWORD kInfoValue02 = 0x02;
const DWORD kInfoWidth = 0x04;
const DWORD kInfoText = 0x20;
const DWORD kInfoWidthAlt = 0x80;

const int kItemCount = 1;
const int kItemRect = 2;
const int kItemTooltip = 3;

// The kItemTooltip answer buffer must hold kTooltipTextSize bytes. The pager
// writes at most that many, the NUL included: window lines that would not fit
// are left out whole, so a desktop of any size stays within the buffer.
const int kTooltipTextSize = 4096;

const int kRefreshPaint = 2;
const int kRefreshLayout = 3;

const int kCommandSettings = 1;

const int kBarInfoTextSize = 260;

// Filled by IBarPlugin::GetInfo; a wire record of the host.
struct BarInfo
{
    uint32_t flags;
    int32_t value01;
    int32_t value02;
    int32_t width;
    int32_t height;
    uint32_t untouched;
    char text[kBarInfoTextSize];
};
static_assert(offsetof(BarInfo, flags) == 0, "BarInfo layout");
static_assert(offsetof(BarInfo, value01) == 4, "BarInfo layout");
static_assert(offsetof(BarInfo, value02) == 8, "BarInfo layout");
static_assert(offsetof(BarInfo, width) == 12, "BarInfo layout");
static_assert(offsetof(BarInfo, height) == 16, "BarInfo layout");
static_assert(offsetof(BarInfo, text) == 24, "BarInfo layout");

struct BarSiteColors
{
    COLORREF colors[4];
};
static_assert(sizeof(BarSiteColors) == 16, "BarSiteColors is 16 bytes");

// The host's site. The pager calls slots 4, 5, 9 and 10 only.
struct IBarSite : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE Reserved3() = 0;
    virtual HWND STDMETHODCALLTYPE GetBarWindow() = 0;
    virtual HRESULT STDMETHODCALLTYPE OnStateChanged() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved6() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved7() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved8() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTextColor(BarSiteColors* colors, COLORREF* textColor) = 0;
    virtual HRESULT STDMETHODCALLTYPE Refresh(int code) = 0;
};

// The plug-in interface the host drives; 26 operations (slots 0 to 25).
struct IBarPlugin : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE Load(IStream* stream) = 0;
    virtual HRESULT STDMETHODCALLTYPE Save(IStream* stream) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetRect(const RECT* rect) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetSite(IBarSite* site) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetHostValue1(int value) = 0;
    virtual HRESULT STDMETHODCALLTYPE Paint(HDC hdc, const POINT* origin) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnMouseMove(DWORD ignored, int x, int y) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnMouseLeave(DWORD ignored) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved11(DWORD, DWORD, DWORD) = 0;
    virtual HRESULT STDMETHODCALLTYPE Configure(IStream* stream) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetHostValue2(int value, int* answer) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved14(DWORD, DWORD, DWORD) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnClick(DWORD ignored, int x, int y) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved16() = 0;
    virtual HRESULT STDMETHODCALLTYPE OnCommand(int id) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetText(const char* text) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved19(DWORD, DWORD, DWORD, DWORD) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved20(DWORD) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetResourceInstance(DWORD ignored, HINSTANCE instance) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved22(DWORD) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved23(DWORD) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetInfo(BarInfo* info) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetItemInfo(int type, UINT index, void* answer) = 0;
};
