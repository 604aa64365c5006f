// Grid layout, painting, hover and click handling of the pager.
#include "plugin/pager_plugin.h"

#include "core/desktop_table.h"

void CPagerPlugin::UpdateLayout(int)
{
}

int CPagerPlugin::HitTest(int, int) const
{
    return -1;
}

RECT CPagerPlugin::GetCellRect(UINT) const
{
    RECT rect = {0, 0, 0, 0};
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

HRESULT STDMETHODCALLTYPE CPagerPlugin::Paint(HDC, const POINT*)
{
    return 0;
}

HRESULT STDMETHODCALLTYPE CPagerPlugin::OnMouseMove(DWORD, int, int)
{
    return 0;
}

HRESULT STDMETHODCALLTYPE CPagerPlugin::OnMouseLeave(DWORD)
{
    return 0;
}

HRESULT STDMETHODCALLTYPE CPagerPlugin::OnClick(DWORD, int, int)
{
    return 0;
}
