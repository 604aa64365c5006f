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
    // An owner whose handling of a request waits on another thread answers
    // from that wait, before the request is carried out: an answer ends the
    // run only once its windows are where they belong, or when twice it
    // brought no further window there (a window that has gone never gets
    // there).
    int idleAnswers = 0;
    while (done < runCount)
    {
        DWORD_PTR answer = 0;
        bool answered = SendMessageTimeoutA(last, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kHungProbeTimeoutMs, &answer) != 0;
        int now = CarriedOut();
        if (now <= done)
        {
            if (!answered)
            {
                RememberHung(runThread);
                break;
            }
            if (++idleAnswers == 2)
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
