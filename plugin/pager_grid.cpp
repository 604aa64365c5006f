// Grid layout, painting, hover and click handling of the pager.
#include "plugin/pager_plugin.h"

#include <limits.h>
#include <stdint.h>
#include <string.h>

#include "core/desktop_table.h"
#include "plugin/hot_keys.h"
#include "plugin/live_pagers.h"
#include "plugin/pager_call.h"

void CPagerPlugin::UpdateLayout(int barHeight)
{
    // Only a damaged stream brings a count or a column number below 1; the grid
    // then lays out one cell or one column instead of dividing by zero.
    int count = g_desktopTable.Count();
    if (count < 1)
        count = 1;
    columnsInUse = settings.columns;
    if (columnsInUse > count)
        columnsInUse = count;
    if (columnsInUse < 1)
        columnsInUse = 1;
    rows = count / columnsInUse;
    if (rows * columnsInUse < count)
        ++rows;
    font.Create(barHeight / rows, &settings);
}

int CPagerPlugin::HitTest(int x, int y) const
{
    int64_t width = font.cellWidth ? font.cellWidth : 1;
    int64_t height = font.cellHeight ? font.cellHeight : 1;
    int64_t column = (static_cast<int64_t>(x) - barRect.left) / width;
    int64_t row = (static_cast<int64_t>(y) - barRect.top) / height;
    int64_t index = row * columnsInUse + column;
    if (index >= g_desktopTable.Count())
        return -1;
    // Far above or left of the grid: still no cell, and still a valid int.
    return index < INT_MIN ? INT_MIN : static_cast<int>(index);
}

RECT CPagerPlugin::GetCellRect(UINT index) const
{
    // Unsigned arithmetic: any index the host asks for wraps instead of overflowing.
    UINT columns = columnsInUse > 0 ? static_cast<UINT>(columnsInUse) : 1;
    UINT row = index / columns;
    UINT column = index % columns;
    RECT rect;
    rect.left = static_cast<LONG>(static_cast<UINT>(barRect.left) + column * static_cast<UINT>(font.cellWidth));
    rect.top = static_cast<LONG>(static_cast<UINT>(barRect.top) + row * static_cast<UINT>(font.cellHeight));
    rect.right = static_cast<LONG>(static_cast<UINT>(rect.left) + static_cast<UINT>(font.cellWidth));
    rect.bottom = static_cast<LONG>(static_cast<UINT>(rect.top) + static_cast<UINT>(font.cellHeight));
    return rect;
}

HWND CPagerPlugin::FindTopLevel(HWND window)
{
    HWND parent = GetParent(window);
    if (!parent)
        return window;
    for (HWND next = GetParent(parent); next; next = GetParent(parent))
        parent = next;
    return parent;
}

HRESULT STDMETHODCALLTYPE CPagerPlugin::Paint(HDC hdc, const POINT* origin)
{
    if (!origin)
        return 0;
    // The site may let the host release us before it returns.
    CPagerCall call(*this);
    COLORREF colour = RGB(0, 0, 0);
    if (site)
    {
        BarSiteColors colors;
        memset(&colors, 0, sizeof(colors));
        site->GetTextColor(&colors, &colour);
    }
    SetTextColor(hdc, colour);
    SetBkMode(hdc, TRANSPARENT);

    // The keys' pager went on another thread: this one takes them over.
    if (site)
    {
        HWND bar = WindowFromDC(hdc);
        if (bar && bar != paintedBar)
        {
            paintedBar = bar;
            AddLivePager(this, bar);
        }
        ClaimHotKeys(this);
    }
    CLockScope guard(lock);
    int count = g_desktopTable.Count();
    int current = g_desktopTable.Current();
    int i = 0;
    int y = origin->y;
    for (int row = 0; row < rows && i < count; ++row)
    {
        int x = origin->x;
        for (int column = 0; column < columnsInUse && i < count; ++column)
        {
            font.DrawCell(hdc, x, y, i + 1, i == current, i == hoverIndex, &settings);
            x += font.cellWidth;
            ++i;
        }
        y += font.cellHeight;
    }
    return 0;
}

// The mouse entries read the count alone and take no lock. They skip the
// site calls when no site is set rather than calling through a null pointer;
// a host sets the site first anyway.
HRESULT STDMETHODCALLTYPE CPagerPlugin::OnMouseMove(DWORD, int x, int y)
{
    g_desktopTable.NoteForeground();
    int index = HitTest(x, y);
    if (index != hoverIndex)
    {
        hoverIndex = index;
        if (site)
            site->Refresh(kRefreshPaint);
    }
    return 0;
}

HRESULT STDMETHODCALLTYPE CPagerPlugin::OnMouseLeave(DWORD)
{
    if (hoverIndex >= 0)
    {
        hoverIndex = -1;
        if (site)
            site->Refresh(kRefreshPaint);
    }
    return 0;
}

HRESULT STDMETHODCALLTYPE CPagerPlugin::OnClick(DWORD, int x, int y)
{
    // The switch lets messages in, and with them a host that releases us or
    // takes its site away: we stay alive until the call returns, and the site
    // is used only while there is one. The pager's lock is left for the
    // switch, which waits on other threads.
    CPagerCall call(*this);
    int index;
    {
        CLockScope guard(lock);
        index = HitTest(x, y);
    }
    MoveToDesktop(index, NULL, kSwitchDesktop);
    return 0;
}

void CPagerPlugin::MoveToDesktop(int index, HWND window, DesktopMove move)
{
    CPagerCall call(*this);
    HWND barTop;
    {
        CLockScope guard(lock);
        // Without a site the bar's own window is unknown and the switch would
        // hide it, so nothing moves then.
        if (!site || index < 0 || index >= g_desktopTable.Count() || index == g_desktopTable.Current())
            return;
        HWND bar = site->GetBarWindow();
        AddLivePager(this, bar);
        barTop = FindTopLevel(bar);
    }
    bool moved = move == kSwitchDesktop ? g_desktopTable.SwitchTo(index, barTop)
                                        : g_desktopTable.SendWindow(window, index, barTop, move == kCarryWindow);
    if (!moved)
        return;
    RepaintOtherPagers(this);
    CLockScope guard(lock);
    if (site)
        site->OnStateChanged();
    if (site)
        site->Refresh(kRefreshPaint);
}
