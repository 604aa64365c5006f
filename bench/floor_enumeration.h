// The enumeration a window list makes, as the floor makes it: FindWindowA for
// the taskbar and the shell's window, then EnumWindows with the same calls for
// each window (visibility, class name) and the same exclusions.
#pragma once

#include <windows.h>
#include <string.h>

#include "core/desktop_table.h"

class CFloorEnumeration
{
public:
    // `excludedClasses` ends with a null; `barTop` is left out as well.
    CFloorEnumeration(const char* const* excludedClasses, HWND barTop)
        : classes(excludedClasses), barTopWindow(barTop), trayWindow(NULL), progmanWindow(NULL), list(NULL),
          count(NULL)
    {
    }

    // Appends the accepted windows to `windows`, at most kMaxWindowsPerDesktop, counted in `windowCount`.
    void Collect(HWND* windows, int& windowCount)
    {
        trayWindow = FindWindowA("Shell_TrayWnd", NULL);
        progmanWindow = FindWindowA("Progman", NULL);
        list = windows;
        count = &windowCount;
        EnumWindows(Visit, reinterpret_cast<LPARAM>(this));
    }

private:
    static BOOL CALLBACK Visit(HWND window, LPARAM param)
    {
        CFloorEnumeration& self = *reinterpret_cast<CFloorEnumeration*>(param);
        if (!IsWindowVisible(window))
            return TRUE;
        char className[200];
        GetClassNameA(window, className, 199);
        for (const char* const* excluded = self.classes; *excluded; ++excluded)
        {
            if (!strcmp(className, *excluded))
                return TRUE;
        }
        if (window == self.trayWindow || window == self.progmanWindow || window == self.barTopWindow)
            return TRUE;
        if (*self.count < kMaxWindowsPerDesktop)
            self.list[(*self.count)++] = window;
        return TRUE;
    }

    const char* const* classes;
    HWND barTopWindow;
    HWND trayWindow;
    HWND progmanWindow;
    HWND* list;
    int* count;
};
