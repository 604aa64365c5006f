// Every window the pager hides carries a window property until the pager
// shows it again. The property lives with the window, not with the host, so
// recovery, run in another process after the host died, can tell the windows
// the pager parked from windows their own programs keep hidden. Its value is
// the id of the host process that parked the window, so that the watcher of
// one host leaves the windows of another alone; older versions wrote 1.
#pragma once

#include <windows.h>

#include "win/window_shower.h"

extern const char kParkedProperty[];

// Whoever marks a window starts the host's watcher too (StartHostWatcher),
// with no lock held.
void MarkParked(HWND window);
void ClearParked(HWND window);
bool IsParked(HWND window);
// Shows a parked window (`command`: SW_SHOW, or SW_SHOWNA to leave the
// activation alone) through `shower`; shown, it is no longer parked.
void ShowParked(HWND window, CWindowShower& shower, int command = SW_SHOW);
// Whether a pager of process `processId` parked the window.
bool IsParkedBy(HWND window, DWORD processId);
