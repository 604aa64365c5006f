// Hiding the active window makes the platform activate the next window in
// z-order. A switch hides top-most first, so that next window is the one it
// hides next: every application on the desktop being left would be activated
// and deactivated in turn, each time running its focus handlers for nothing.
#pragma once

#include <windows.h>

#include "core/desktop_table.h"
#include "win/window_shower.h"

// Hands the foreground to the bar's top-level window, or to the desktop window
// when there is no visible bar, if it rests on one of `windows`, which
// `shower` is about to hide.
void MoveActivationOff(const DesktopEntry* windows, int count, HWND barTop, CWindowShower& shower);
