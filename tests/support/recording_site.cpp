#include "support/recording_site.h"

#include "support/event_log.h"

void RecordingSite::Record(const char* call)
{
    LogEvent(call);
    if (onCall)
        onCall(call);
}

// The pager must never use these: they are logged so that a test sees it if it does.
HRESULT STDMETHODCALLTYPE RecordingSite::QueryInterface(REFIID, void** ppv)
{
    Record("site.QueryInterface");
    *ppv = NULL;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE RecordingSite::AddRef()
{
    Record("site.AddRef");
    return 2;
}

ULONG STDMETHODCALLTYPE RecordingSite::Release()
{
    Record("site.Release");
    return 1;
}

HRESULT STDMETHODCALLTYPE RecordingSite::Reserved3()
{
    Record("site.Reserved3");
    return S_OK;
}

HWND STDMETHODCALLTYPE RecordingSite::GetBarWindow()
{
    Record("site.GetBarWindow");
    return barWindow;
}

HRESULT STDMETHODCALLTYPE RecordingSite::OnStateChanged()
{
    Record("site.OnStateChanged");
    return S_OK;
}

HRESULT STDMETHODCALLTYPE RecordingSite::Reserved6()
{
    Record("site.Reserved6");
    return S_OK;
}

HRESULT STDMETHODCALLTYPE RecordingSite::Reserved7()
{
    Record("site.Reserved7");
    return S_OK;
}

HRESULT STDMETHODCALLTYPE RecordingSite::Reserved8()
{
    Record("site.Reserved8");
    return S_OK;
}

HRESULT STDMETHODCALLTYPE RecordingSite::GetTextColor(BarSiteColors*, COLORREF* color)
{
    Record("site.GetTextColor");
    if (writesTextColor)
        *color = textColor;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE RecordingSite::Refresh(int code)
{
    ++refreshCount;
    Record(code == 2 ? "site.Refresh(2)" : code == 3 ? "site.Refresh(3)" : "site.Refresh(?)");
    return S_OK;
}

void PlaceOnBar(IBarPlugin* pager, RecordingSite& site, HWND bar)
{
    site.barWindow = bar;
    RECT rect = {0, 0, 100, 40};
    BarInfo info = {kInfoWidth, 0, 0, 0, 40, 0, ""};
    pager->SetSite(&site);
    pager->SetRect(&rect);
    pager->GetInfo(&info);
}
