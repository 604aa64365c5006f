// The recovery dialog: a list of hidden application windows, of which the
// user shows the ones picked, or all.
#pragma once

#include <windows.h>

// Runs the dialog from the module's template; returns when it is closed.
void RunRecoveryDialog(HWND owner);
