// The enumeration a window list makes, as the floor makes it: the list's own
// filter (core/window_filter.h), made at each enumeration, then EnumWindows.
#pragma once

#include <windows.h>

#include "core/desktop_table.h"
#include "core/window_filter.h"

class CFloorEnumeration
{
public:
    CFloorEnumeration(WindowListKind listKind, HWND barTop) : kind(listKind), barTopWindow(barTop) {}

    // Appends the accepted windows to `windows`, at most kMaxWindowsPerDesktop, counted in `windowCount`.
    void Collect(HWND* windows, int& windowCount)
    {
        CWindowFilter filter(kind, barTopWindow);
        Visit visit = {&filter, windows, &windowCount};
        EnumWindows(Accept, reinterpret_cast<LPARAM>(&visit));
    }

private:
    struct Visit
    {
        const CWindowFilter* filter;
        HWND* list;
        int* count;
    };

    static BOOL CALLBACK Accept(HWND window, LPARAM param)
    {
        Visit& visit = *reinterpret_cast<Visit*>(param);
        if (visit.filter->Takes(window) && *visit.count < kMaxWindowsPerDesktop)
            visit.list[(*visit.count)++] = window;
        return TRUE;
    }

    WindowListKind kind;
    HWND barTopWindow;
};
