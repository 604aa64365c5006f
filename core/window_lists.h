// The window titles of a desktop, one per line, for the tooltip of its cell.
#pragma once

#include <windows.h>

const int kMaxLiveWindows = 1000;

// The windows on screen now, rebuilt at every query for the current desktop.
struct LiveWindowList
{
    HWND trayWindow;
    HWND progmanWindow;
    HWND windows[kMaxLiveWindows];
    int count;
};

extern LiveWindowList g_liveWindowList;

// Both append to `text`, which holds the empty string and kTooltipTextSize bytes
// (plugin/bar_interfaces.h); lines that no longer fit are left out.
void ListLiveWindows(char* text);
void ListStoredWindows(int index, char* text);

// EnumWindows callback that fills g_liveWindowList.
BOOL CALLBACK CollectLiveWindow(HWND window, LPARAM param);
