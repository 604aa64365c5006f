// The window titles of a desktop, one per line, for the tooltip of its cell:
// the windows on screen for the current desktop, the remembered list of the
// table for any other.
#pragma once

#include <windows.h>
#include <stddef.h>

#include "core/desktop_table.h"

// The screen holds at most what a desktop's list may.
const int kMaxLiveWindows = kMaxWindowsPerDesktop;

// The windows on screen now, gathered at every query for the current desktop.
typedef CBoundedList<HWND, kMaxLiveWindows> LiveWindowList;

struct LiveWindowEnumeration
{
    const class CWindowFilter* filter;
    LiveWindowList* windows;
};

// The tooltip text of cell `index` into `text`, a buffer of `size` bytes:
// "<empty>" for a desktop without windows, nothing for an index that is
// neither the current desktop nor below the count. Lines that would not fit
// are left out whole.
void WriteTooltipText(const CDesktopTable& table, UINT index, char* text, size_t size);

// Both append to `text`, which holds the empty string.
void ListLiveWindows(char* text, size_t size);
void ListStoredWindows(const CDesktopTable& table, int index, char* text, size_t size);

// EnumWindows callback; `param` is a LiveWindowEnumeration.
BOOL CALLBACK CollectLiveWindow(HWND window, LPARAM param);
