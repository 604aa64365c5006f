#include "win/window_shower.h"

CWindowShower::CWindowShower(ShowWait wait) : hungCount(0), waitMode(wait) {}

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

bool CWindowShower::Answers(HWND window)
{
    if (waitMode == kNeverWait)
        return false;
    DWORD thread = GetWindowThreadProcessId(window, NULL);
    if (thread == 0 || thread == GetCurrentThreadId())
        return true;
    if (KnownHung(thread))
        return false;
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kHungProbeTimeoutMs, &answer))
        return true;
    RememberHung(thread);
    return false;
}

void CWindowShower::Apply(HWND window, int command)
{
    if (waitMode == kNeverWait)
    {
        ShowWindowAsync(window, command);
        return;
    }
    DWORD thread = GetWindowThreadProcessId(window, NULL);
    // Our own windows, and handles whose window has gone, take the plain call.
    if (thread == 0 || thread == GetCurrentThreadId())
    {
        ShowWindow(window, command);
        return;
    }
    ShowWindowAsync(window, command);
    // The answer is the barrier: the request before it has been carried out.
    Answers(window);
}
