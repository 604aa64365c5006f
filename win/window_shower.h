// Shows and hides windows without letting another thread hold the caller up
// for longer than kHungProbeTimeoutMs at any one call. A window of the
// calling thread is shown or hidden directly. A window of another thread gets
// the request with ShowWindowAsync and then a WM_NULL sent with that limit:
// the owner handles sent messages in the order they come, so its answer says
// the request is done. An owner that does not answer in time is taken for
// hung for the rest of the batch: its later requests are only posted, and it
// carries them out when it pumps messages again.
//
// No answer is trusted beyond the call it answers: an owner that answered
// may start long work (saving its files, say) on the very next message.
#pragma once

#include <windows.h>

const UINT kHungProbeTimeoutMs = 50;

// kNeverWait posts every request, for callers that must not wait for any
// other thread (the loader lock held, say).
enum ShowWait { kWaitForAnsweringOwners, kNeverWait };

class CWindowShower
{
public:
    explicit CWindowShower(ShowWait wait = kWaitForAnsweringOwners);
    void Apply(HWND window, int command);
    // Asks the window's owner to answer within the limit; false when it did
    // not (or may not be asked), and the owner is then taken for hung.
    bool Answers(HWND window);

private:
    bool KnownHung(DWORD thread) const;
    void RememberHung(DWORD thread);

    // Owners found hung during this batch are not asked again.
    enum { kMaxHungThreads = 16 };
    DWORD hungThreads[kMaxHungThreads];
    int hungCount;

    ShowWait waitMode;
};
