// Every window the pager hides carries a window property until the pager
// shows it again. The property lives with the window, not with the host, so
// recovery, run in another process after the host died, can tell the windows
// the pager parked from windows their own programs keep hidden.
#pragma once

#include <windows.h>

extern const char kParkedProperty[];

void MarkParked(HWND window);
void ClearParked(HWND window);
bool IsParked(HWND window);
