#include "host/bar_site.h"

#include "host/host_log.h"

CBarSite::CBarSite() : bar(NULL), pluginRect(NULL)
{
}

void CBarSite::Attach(HWND barWindow, const RECT* rect)
{
    bar = barWindow;
    pluginRect = rect;
}

HRESULT STDMETHODCALLTYPE CBarSite::QueryInterface(REFIID riid, void** ppv)
{
    *ppv = IsEqualIID(riid, IID_IUnknown) ? static_cast<IUnknown*>(this) : NULL;
    return *ppv ? S_OK : E_NOINTERFACE;
}

// The site belongs to the bar; references do not decide its lifetime.
ULONG STDMETHODCALLTYPE CBarSite::AddRef()
{
    return 2;
}

ULONG STDMETHODCALLTYPE CBarSite::Release()
{
    return 1;
}

HRESULT STDMETHODCALLTYPE CBarSite::Reserved3()
{
    return E_NOTIMPL;
}

HWND STDMETHODCALLTYPE CBarSite::GetBarWindow()
{
    HostLog("site.GetBarWindow");
    return bar;
}

HRESULT STDMETHODCALLTYPE CBarSite::OnStateChanged()
{
    HostLog("site.OnStateChanged");
    PostMessageA(bar, WM_BAR_SAVE_STATE, 0, 0);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CBarSite::Reserved6()
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CBarSite::Reserved7()
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CBarSite::Reserved8()
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CBarSite::GetTextColor(BarSiteColors* colors, COLORREF* textColor)
{
    if (colors)
    {
        colors->colors[0] = GetSysColor(COLOR_BTNFACE);
        colors->colors[1] = GetSysColor(COLOR_BTNTEXT);
        colors->colors[2] = GetSysColor(COLOR_HIGHLIGHT);
        colors->colors[3] = GetSysColor(COLOR_HIGHLIGHTTEXT);
    }
    *textColor = GetSysColor(COLOR_BTNTEXT);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CBarSite::Refresh(int code)
{
    HostLog("site.Refresh(%d)", code);
    if (code == kRefreshPaint)
        InvalidateRect(bar, pluginRect, TRUE);
    else if (code == kRefreshLayout)
        PostMessageA(bar, WM_BAR_RELAYOUT, 0, 0);
    return S_OK;
}
