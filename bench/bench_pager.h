// A pager driven through IBarPlugin as a host drives it, with a site that
// answers at once, so that what is timed is the pager's own work.
#pragma once

#include <windows.h>

#include "plugin/pager_plugin.h"

class CBenchSite : public IBarSite
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** ppv) override
    {
        *ppv = NULL;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE Reserved3() override { return S_OK; }
    // No bar window: the benchmark's windows are all the switch may move.
    HWND STDMETHODCALLTYPE GetBarWindow() override { return NULL; }
    HRESULT STDMETHODCALLTYPE OnStateChanged() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Reserved6() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Reserved7() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Reserved8() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetTextColor(BarSiteColors*, COLORREF* textColor) override
    {
        *textColor = RGB(0, 0, 0);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Refresh(int) override { return S_OK; }
};

class CBenchPager
{
public:
    // A new pager with its site and a bar of `barHeight` pixels at (0, 0), laid out.
    explicit CBenchPager(int barHeight);
    ~CBenchPager();  // releases it; callers forget or destroy parked windows first
    CBenchPager(const CBenchPager&) = delete;
    CBenchPager& operator=(const CBenchPager&) = delete;

    IBarPlugin* operator->() const { return pager; }
    CPagerPlugin* object() const { return pager; }

    // Asks for the width again, as a host does after a change of the grid.
    int LayOut();  // the width the grid takes
    // Clicks the middle of a cell.
    void Click(int cell);

private:
    CPagerPlugin* pager;
    CBenchSite site;
    int height;
};

// Forgets every remembered window without showing one, as a fresh table has it.
void ForgetAllWindows();
