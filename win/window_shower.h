// Shows and hides windows without letting another thread hold the caller up
// for longer than kHungProbeTimeoutMs since that thread last made progress.
// A window of the calling thread is shown or hidden directly, once the
// requests other threads queued to this one are carried out (so that an
// older request cannot undo this decision later). Windows of another thread
// get their requests with ShowWindowAsync, which queues them behind any
// request still waiting there, so the latest decision is carried out last.
//
// A run of requests to one owner, in a row, is done when its windows are
// where the requests put them: nothing is read from the order in which the
// owner answers sent messages and carries out queued requests. A WM_NULL
// sent with the limit only tells whether the owner pumps at all. An owner
// that has not carried out another request of the run within the limit is
// taken for hung for the rest of the batch: its later requests are only
// queued, and it carries them out when it pumps messages again.
#pragma once

#include <windows.h>

// The limit for another thread's progress on our requests: its answer, or
// one more of its windows where we asked. It covers the owner's own handling
// of a request (its WM_SHOWWINDOW, its repaint), which under emulation takes
// longer than 50 ms for one hide. The system itself waits 5 s.
const UINT kHungProbeTimeoutMs = 250;

// Carries out the requests queued to this thread (CarryOutQueuedRequests) if
// a batch found it hung with requests of ours still waiting there: called
// before this thread decides anything about its own windows, so that an older
// request cannot undo the decision later. Cheap when nothing is owed.
void CarryOutRequestsOwedHere();

// kNeverWait queues every request, for callers that must not wait for any
// other thread, nor let sent messages in (the loader lock held, say).
enum ShowWait { kWaitForAnsweringOwners, kNeverWait };

class CWindowShower
{
public:
    explicit CWindowShower(ShowWait wait = kWaitForAnsweringOwners);
    ~CWindowShower() { Finish(); }
    CWindowShower(const CWindowShower&) = delete;
    CWindowShower& operator=(const CWindowShower&) = delete;

    // False when the system refused the request: the window stays as it is.
    bool Apply(HWND window, int command);
    // Waits (as above) until the requests made so far are carried out.
    void Finish();
    // Asks the window's owner to answer within the limit; false when it did
    // not (or may not be asked), and the owner is then taken for hung.
    bool Answers(HWND window);

private:
    bool KnownHung(DWORD thread) const;
    void RememberHung(DWORD thread, HWND window);
    int CarriedOut() const;
    HWND PendingWindow() const;

    // Owners found hung during this batch are not asked again.
    enum { kMaxHungThreads = 16 };
    DWORD hungThreads[kMaxHungThreads];
    int hungCount;

    // The run of requests to one owner that has not been carried out yet.
    enum { kMaxRun = 64 };
    HWND runWindows[kMaxRun];
    bool runShows[kMaxRun];
    int runCount;
    DWORD runThread;

    ShowWait waitMode;
    bool ownQueueDone;  // this thread has carried out what it owed
};
