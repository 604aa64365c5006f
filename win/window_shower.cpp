#include "win/window_shower.h"

#include "win/window_platform.h"

namespace {

// Threads of this process taken for hung with requests of ours still queued
// to them; when the table is full, every thread is taken to owe some.
const int kMaxOwingThreads = 32;
volatile LONG g_owingThreads[kMaxOwingThreads];
volatile LONG g_owingOverflow;

void NoteRequestsOwedBy(DWORD thread)
{
    for (int i = 0; i < kMaxOwingThreads; ++i)
    {
        LONG held = InterlockedCompareExchange(&g_owingThreads[i], static_cast<LONG>(thread), 0);
        if (held == 0 || held == static_cast<LONG>(thread))
            return;
    }
    InterlockedExchange(&g_owingOverflow, 1);
}

}  // namespace

void CarryOutRequestsOwedHere()
{
    LONG self = static_cast<LONG>(GetCurrentThreadId());
    bool owes = g_owingOverflow != 0;
    for (int i = 0; i < kMaxOwingThreads; ++i)
        owes |= InterlockedCompareExchange(&g_owingThreads[i], 0, self) == self;
    if (owes)
        CarryOutQueuedRequests();
}

CWindowShower::CWindowShower(ShowWait wait)
    : hungCount(0), runCount(0), runThread(0), waitMode(wait), ownQueueDone(false)
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

void CWindowShower::RememberHung(DWORD thread, HWND window)
{
    if (hungCount < kMaxHungThreads)
        hungThreads[hungCount++] = thread;
    // Only a thread of ours can be asked to carry them out before it decides.
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId())
        NoteRequestsOwedBy(thread);
}

bool CWindowShower::Answers(HWND window)
{
    if (waitMode == kNeverWait)
        return false;
    DWORD thread = WindowPlatform().OwnerThread(window);
    if (thread == 0 || thread == GetCurrentThreadId())
        return true;
    if (KnownHung(thread))
        return false;
    if (WindowPlatform().Probe(window, kHungProbeTimeoutMs) != kProbeTimedOut)
        return true;
    RememberHung(thread, window);
    return false;
}

namespace {

// Whether the window is where the request put it; a window that has gone
// needs nothing more. One call for the usual answers: a gone window is not
// visible, so only a show not yet carried out asks whether it is still there.
bool IsCarriedOut(HWND window, bool show)
{
    if (IsWindowVisible(window))
        return show;
    return !show || !IsWindow(window);
}

}  // namespace

int CWindowShower::CarriedOut() const
{
    int done = 0;
    for (int i = 0; i < runCount; ++i)
        done += IsCarriedOut(runWindows[i], runShows[i]);
    return done;
}

// A window of the run still to be carried out, to probe its owner through.
HWND CWindowShower::PendingWindow() const
{
    for (int i = 0; i < runCount; ++i)
    {
        if (!IsCarriedOut(runWindows[i], runShows[i]))
            return runWindows[i];
    }
    return NULL;
}

void CWindowShower::Finish()
{
    if (runCount == 0)
        return;
    // The last request is the likeliest to be carried out last: ask there first.
    HWND probed = runWindows[runCount - 1];
    int done = 0;
    DWORD progressAt = GetTickCount();
    for (;;)
    {
        // Once the limit has passed, one last look without a probe: the time
        // may have gone on our side (a machine under load) while the owner
        // went on working.
        DWORD waited = GetTickCount() - progressAt;
        bool limitPassed = waited >= kHungProbeTimeoutMs;
        ProbeAnswer answer = limitPassed ? kProbeTimedOut : WindowPlatform().Probe(probed, kHungProbeTimeoutMs - waited);
        int now = CarriedOut();
        if (now == runCount)
            break;
        if (now > done)
        {
            done = now;
            progressAt = GetTickCount();
        }
        else if (limitPassed)
        {
            RememberHung(runThread, runWindows[0]);
            break;
        }
        else if (answer == kProbeAnswered)
        {
            // It pumps, but the requests are still on their way to it: let
            // it work for a moment, answering what is sent to us meanwhile.
            MsgWaitForMultipleObjects(0, NULL, FALSE, 1, QS_SENDMESSAGE);
            MSG message;
            PeekMessageA(&message, NULL, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
        probed = PendingWindow();
    }
    runCount = 0;
}

bool CWindowShower::Apply(HWND window, int command)
{
    CWindowPlatform& platform = WindowPlatform();
    if (waitMode == kNeverWait)
        return platform.Request(window, command);
    DWORD thread = platform.OwnerThread(window);
    if (thread != runThread || runCount == kMaxRun)
        Finish();
    // Our own windows, and handles whose window has gone, take the plain call.
    if (thread == 0 || thread == GetCurrentThreadId())
    {
        if (!ownQueueDone)
            CarryOutRequestsOwedHere();
        ownQueueDone = true;
        ShowWindow(window, command);
        return true;
    }
    if (!platform.Request(window, command))
        return false;
    if (KnownHung(thread))
        return true;
    runThread = thread;
    runWindows[runCount] = window;
    runShows[runCount] = command != SW_HIDE;
    ++runCount;
    return true;
}
