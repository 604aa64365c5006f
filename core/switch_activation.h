// Hiding the active window makes the platform activate the next window in
// z-order, which is the window hidden next: every application on the desktop
// being left would be activated and deactivated in turn, each time running
// its focus handlers for nothing.
#pragma once

#include <windows.h>
#include <stdint.h>

#include "win/window_shower.h"

// Hands the foreground to the bar's top-level window, or to the desktop window
// when there is no visible bar, if it rests on one of `windows` (32-bit
// handles), which `shower` is about to hide.
void MoveActivationOff(const uint32_t* windows, int count, HWND barTop, CWindowShower& shower);
