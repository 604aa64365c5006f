#include "win/window_shower.h"

CWindowShower::CWindowShower() : hungCount(0)
{
}

bool CWindowShower::KnownHung(DWORD thread) const
{
    for (int i = 0; i < hungCount; ++i)
    {
        if (hungThreads[i] == thread)
            return true;
    }
    return false;
}

void CWindowShower::RememberHung(DWORD thread)
{
    if (hungCount < kMaxHungThreads)
        hungThreads[hungCount++] = thread;
}

void CWindowShower::Apply(HWND window, int command)
{
    DWORD thread = GetWindowThreadProcessId(window, NULL);
    // Our own windows, and handles whose window has gone, take the plain call.
    if (thread == 0 || thread == GetCurrentThreadId())
    {
        ShowWindow(window, command);
        return;
    }
    if (!KnownHung(thread))
    {
        DWORD_PTR answer = 0;
        if (SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kHungProbeTimeoutMs, &answer))
        {
            ShowWindow(window, command);
            return;
        }
        RememberHung(thread);
    }
    ShowWindowAsync(window, command);
}
