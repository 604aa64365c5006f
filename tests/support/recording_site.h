// A host site that records every call the pager makes into the event log.
#pragma once

#include <windows.h>
#include <functional>

#include "plugin/bar_interfaces.h"

class RecordingSite : public IBarSite
{
public:
    HWND barWindow = NULL;
    COLORREF textColor = 0;
    bool writesTextColor = false;
    int refreshCount = 0;
    // Runs inside every recorded call, after it is logged (to look at the pager mid-call).
    std::function<void(const char*)> onCall;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE Reserved3() override;
    HWND STDMETHODCALLTYPE GetBarWindow() override;
    HRESULT STDMETHODCALLTYPE OnStateChanged() override;
    HRESULT STDMETHODCALLTYPE Reserved6() override;
    HRESULT STDMETHODCALLTYPE Reserved7() override;
    HRESULT STDMETHODCALLTYPE Reserved8() override;
    HRESULT STDMETHODCALLTYPE GetTextColor(BarSiteColors* colors, COLORREF* color) override;
    HRESULT STDMETHODCALLTYPE Refresh(int code) override;

private:
    void Record(const char* call);
};

// Hands `pager` the site with `bar` as the bar's window and lays it out on a
// bar 100 by 40 pixels, as a host does before the first paint.
void PlaceOnBar(IBarPlugin* pager, RecordingSite& site, HWND bar);
