// A pinned window stays on every desktop: no switch records or hides it.
// Like the parked mark, the pin is a window property, so it lasts as long as
// the window and a pager loaded later honours it.
#pragma once

#include <windows.h>

extern const char kPinnedProperty[];

bool IsPinned(HWND window);
void SetPinned(HWND window, bool pinned);
