#include "win/window_shower.h"

CWindowShower::CWindowShower(ShowWait wait) : hungCount(0), answeredNext(0), waitMode(wait)
{
    for (int i = 0; i < kMaxAnsweredThreads; ++i)
        answeredThreads[i] = 0;
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

int CWindowShower::AnsweredSlot(DWORD thread) const
{
    for (int i = 0; i < kMaxAnsweredThreads; ++i)
    {
        if (answeredThreads[i] == thread)
            return i;
    }
    return -1;
}

// True when the owner answers now or answered a probe lately.
bool CWindowShower::Probe(HWND window, DWORD thread)
{
    int slot = AnsweredSlot(thread);
    if (slot >= 0 && GetTickCount() - answeredTicks[slot] < kHungProbeTimeoutMs)
        return true;
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kHungProbeTimeoutMs, &answer))
        return false;
    if (slot < 0)
    {
        slot = answeredNext;
        answeredNext = (answeredNext + 1) % kMaxAnsweredThreads;
    }
    answeredThreads[slot] = thread;
    answeredTicks[slot] = GetTickCount();
    return true;
}

bool CWindowShower::Answers(HWND window)
{
    if (waitMode == kNeverWait)
        return false;
    DWORD thread = GetWindowThreadProcessId(window, NULL);
    // Our own windows, and handles whose window has gone, take the plain call.
    if (thread == 0 || thread == GetCurrentThreadId())
        return true;
    if (KnownHung(thread))
        return false;
    if (Probe(window, thread))
        return true;
    RememberHung(thread);
    return false;
}

void CWindowShower::Apply(HWND window, int command)
{
    if (Answers(window))
        ShowWindow(window, command);
    else
        ShowWindowAsync(window, command);
}
