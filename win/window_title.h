// Reading a window's title without letting a hung thread block the bar.
#pragma once

#include <windows.h>

#include "win/window_shower.h"

// GetWindowTextA reads the title of another process's window from the system,
// but sends WM_GETTEXT to a window of another thread of this process, which
// blocks for good if that thread has stopped pumping messages. Such windows
// are asked with a time limit; a title that cannot be read comes back empty.
inline void ReadWindowTitle(HWND window, char* title, int size)
{
    title[0] = '\0';
    DWORD process = 0;
    DWORD thread = GetWindowThreadProcessId(window, &process);
    if (thread == 0)
        return;
    if (process != GetCurrentProcessId() || thread == GetCurrentThreadId())
    {
        GetWindowTextA(window, title, size);
        return;
    }
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, size, reinterpret_cast<LPARAM>(title), SMTO_ABORTIFHUNG,
                             kHungProbeTimeoutMs, &copied))
        title[0] = '\0';
    title[size - 1] = '\0';
}
