// Pressing a key combination as a user does.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "core/key_commands.h"

// Sends the key in the hotkey control's form through SendInput, pressed and
// released; false when the system took less than all of it.
bool SendHotKeyInput(HotKey key);

// Sends the key as above, then
// dispatches this thread's messages until a WM_HOTKEY has been dispatched
// (the key window is on this thread) or `limitMs` have passed. False when
// none came.
bool PressHotKey(HotKey key, DWORD limitMs = 2000);
