// The host's IBarSite, handed to the plug-in with SetSite. It lives as long
// as the bar, which outlives the plug-in.
#pragma once

#include <windows.h>

#include "plugin/bar_interfaces.h"

// What the bar does for the site; posted, so that nothing runs inside the
// plug-in's own call.
const UINT WM_BAR_SAVE_STATE = WM_APP + 1;
const UINT WM_BAR_RELAYOUT = WM_APP + 2;

class CBarSite : public IBarSite
{
public:
    CBarSite();
    void Attach(HWND bar, const RECT* pluginRect);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE Reserved3() override;
    HWND STDMETHODCALLTYPE GetBarWindow() override;
    HRESULT STDMETHODCALLTYPE OnStateChanged() override;
    HRESULT STDMETHODCALLTYPE Reserved6() override;
    HRESULT STDMETHODCALLTYPE Reserved7() override;
    HRESULT STDMETHODCALLTYPE Reserved8() override;
    HRESULT STDMETHODCALLTYPE GetTextColor(BarSiteColors* colors, COLORREF* textColor) override;
    HRESULT STDMETHODCALLTYPE Refresh(int code) override;

private:
    HWND bar;
    const RECT* pluginRect;  // the bar's rectangle for the plug-in, owned by the bar
};
