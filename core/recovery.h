// Finding windows to bring back after the host died with windows hidden.
#pragma once

#include <windows.h>

#include "core/desktop_table.h"

// As many as a desktop's list may hold.
const int kMaxRecoverableWindows = kMaxWindowsPerDesktop;

typedef CBoundedList<HWND, kMaxRecoverableWindows> RecoverableWindows;

// Hidden top-level windows that the pager parked and that look like ordinary
// application windows: titled, with a caption, unowned and not tool windows.
void ListParkedApplicationWindows(RecoverableWindows* list);

// The windows that a saved state file remembers and that still exist, hidden,
// as such application windows.
// Returns false when the file cannot be read.
bool ListStateFileWindows(const char* path, RecoverableWindows* list);

// Shows every window of the list (never blocking on a hung owner).
void ShowRecoveredWindows(const HWND* windows, int count);
