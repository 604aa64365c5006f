// Hiding the active window makes the platform activate the next window in
// z-order, which is the window hidden next: every application on the desktop
// being left would be activated and deactivated in turn, each time running
// its focus handlers for nothing.
#pragma once

#include <windows.h>
#include <stdint.h>

#include "win/window_shower.h"

// The window that takes the foreground off the desktop being left: the bar's
// top-level window if it can be activated (visible, enabled, without
// WS_EX_NOACTIVATE, which would keep the keyboard focus it never wanted),
// else the shell's window, else none. The desktop window is never one: it
// cannot be the foreground on Windows.
HWND ChooseForegroundHeir(HWND barTop, bool barVisible, bool barEnabled, LONG barExStyle, HWND shell);

// Hands the foreground to the window ChooseForegroundHeir picks if it rests
// on one of `windows` (32-bit handles), which `shower` is about to hide.
void MoveActivationOff(const uint32_t* windows, int count, HWND barTop, CWindowShower& shower);
