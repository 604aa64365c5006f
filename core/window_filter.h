// Which top-level windows the pager's lists take, all made from one table of
// class names and one shell lookup, each list keeping its own differences.
#pragma once

#include <windows.h>

#include "win/window_cloak.h"

enum WindowListKind
{
    kSwitchList = 1,  // recorded and hidden by a switch
    kLiveList = 2,    // the current desktop's tooltip, from the screen
    kStoredList = 4,  // another desktop's tooltip, from the table
};

// Whether `list` leaves out the windows of this class.
bool IsClassLeftOut(WindowListKind list, const char* className);

// The enumerations' filter: a visible window, of a class the list takes,
// neither the main taskbar nor the shell's window, nor for the switch the
// bar's top-level window, a pinned window or a window of a process that
// outranks ours, and not cloaked. The stored list asks only for the class,
// the pin and the cloak: its windows are hidden, and were filtered when recorded.
class CWindowFilter
{
public:
    // Looks the shell's windows up; loads the cloak query.
    CWindowFilter(WindowListKind list, HWND barTop);

    bool Takes(HWND window) const;
    bool TakesStored(HWND window) const;

private:
    bool OutranksUs(HWND window) const;

    WindowListKind list;
    HWND barTop;
    HWND trayWindow;
    HWND progmanWindow;
    CCloakQuery cloak;
    mutable DWORD rankedProcess;
    mutable bool rankedAbove;
};
