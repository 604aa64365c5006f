// Shows and hides windows without letting another thread hold the caller up
// for longer than kHungProbeTimeoutMs at any one call. A window of the
// calling thread is shown or hidden directly. Windows of another thread get
// their requests with ShowWindowAsync; a run of requests to one owner, in a
// row, ends with a WM_NULL sent with that limit, and the run's windows are
// looked at: the owner handles sent messages in the order they come, so
// once it answers and the windows are where the requests put them, the run
// is done. An owner that carried out more of them since the last look is
// at work on them and is asked again; one that neither answered nor did
// more is taken for hung for the rest of the batch, its later requests are
// only posted, and it carries them out when it pumps messages again.
//
// No answer is trusted beyond the call it answers: an owner that answered
// may start long work (saving its files, say) on the very next message.
#pragma once

#include <windows.h>

// An owner that has not carried out a request, nor answered, within this is
// taken for hung. The wait covers the owner's own handling of the request
// (its WM_SHOWWINDOW, its repaint), which on a slow machine or for a heavy
// window takes longer than a bare answer: 50 ms was shorter than one hide
// in a 32-bit Wine under emulation. The system itself waits 5 s.
const UINT kHungProbeTimeoutMs = 250;

// kNeverWait posts every request, for callers that must not wait for any
// other thread (the loader lock held, say).
enum ShowWait { kWaitForAnsweringOwners, kNeverWait };

class CWindowShower
{
public:
    explicit CWindowShower(ShowWait wait = kWaitForAnsweringOwners);
    ~CWindowShower() { Finish(); }
    CWindowShower(const CWindowShower&) = delete;
    CWindowShower& operator=(const CWindowShower&) = delete;

    void Apply(HWND window, int command);
    // Waits (as above) until the requests made so far are carried out.
    void Finish();
    // Asks the window's owner to answer within the limit; false when it did
    // not (or may not be asked), and the owner is then taken for hung.
    bool Answers(HWND window);

private:
    bool KnownHung(DWORD thread) const;
    void RememberHung(DWORD thread);
    int CarriedOut() const;

    // Owners found hung during this batch are not asked again.
    enum { kMaxHungThreads = 16 };
    DWORD hungThreads[kMaxHungThreads];
    int hungCount;

    // The run of requests to one owner that has not been answered yet.
    enum { kMaxRun = 64 };
    HWND runWindows[kMaxRun];
    bool runShows[kMaxRun];
    int runCount;
    DWORD runThread;

    ShowWait waitMode;
};
