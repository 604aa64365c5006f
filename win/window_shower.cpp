#include "win/window_shower.h"

CWindowShower::CWindowShower(ShowWait wait) : hungCount(0), runCount(0), runThread(0), waitMode(wait) {}

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

// Windows of the run that are where their requests put them.
int CWindowShower::CarriedOut() const
{
    int done = 0;
    for (int i = 0; i < runCount; ++i)
        done += (IsWindowVisible(runWindows[i]) != FALSE) == runShows[i];
    return done;
}

void CWindowShower::Finish()
{
    if (runCount == 0)
        return;
    HWND last = runWindows[runCount - 1];
    int done = CarriedOut();
    for (;;)
    {
        DWORD_PTR answer = 0;
        if (SendMessageTimeoutA(last, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kHungProbeTimeoutMs, &answer))
            break;
        int now = CarriedOut();
        if (now == runCount)
            break;
        if (now <= done)
        {
            RememberHung(runThread);
            break;
        }
        done = now;
    }
    runCount = 0;
}

void CWindowShower::Apply(HWND window, int command)
{
    if (waitMode == kNeverWait)
    {
        ShowWindowAsync(window, command);
        return;
    }
    DWORD thread = GetWindowThreadProcessId(window, NULL);
    if (thread != runThread || runCount == kMaxRun)
        Finish();
    // Our own windows, and handles whose window has gone, take the plain call.
    if (thread == 0 || thread == GetCurrentThreadId())
    {
        ShowWindow(window, command);
        return;
    }
    ShowWindowAsync(window, command);
    if (KnownHung(thread))
        return;
    runThread = thread;
    runWindows[runCount] = window;
    runShows[runCount] = command != SW_HIDE;
    ++runCount;
}
