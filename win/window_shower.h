// Shows and hides remembered windows without letting a hung application
// block the caller. A window of another thread gets the synchronous
// ShowWindow only when its owner answers a WM_NULL probe in time; otherwise
// the request is posted with ShowWindowAsync and the owner carries it out
// when it pumps messages again. Windows of the calling thread are shown and
// hidden directly, as ever.
//
// An owner that answered a probe less than kHungProbeTimeoutMs ago is not
// probed again: a batch moves many windows of one owner one after the other.
// The owner could stop pumping right after its answer; the probe leaves that
// gap open too, and this widens it to at most the time a probe already allows
// an owner to take.
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
    // Whether Apply would call the owner synchronously; asks it if need be.
    bool Answers(HWND window);

private:
    bool KnownHung(DWORD thread) const;
    void RememberHung(DWORD thread);

    bool Probe(HWND window, DWORD thread);
    int AnsweredSlot(DWORD thread) const;

    // Owners found hung during this batch are not probed again.
    enum { kMaxHungThreads = 16 };
    DWORD hungThreads[kMaxHungThreads];
    int hungCount;

    // The owners that answered a probe last, each with the tick of its answer.
    enum { kMaxAnsweredThreads = 16 };
    DWORD answeredThreads[kMaxAnsweredThreads];
    DWORD answeredTicks[kMaxAnsweredThreads];
    int answeredNext;

    ShowWait waitMode;
};
