// Shows and hides remembered windows without letting a hung application
// block the caller. A window of another thread gets the synchronous
// ShowWindow only when its owner answers a WM_NULL probe in time; otherwise
// the request is posted with ShowWindowAsync and the owner carries it out
// when it pumps messages again. Windows of the calling thread are shown and
// hidden directly, as ever.
#pragma once

#include <windows.h>

const UINT kHungProbeTimeoutMs = 50;

class CWindowShower
{
public:
    CWindowShower();
    void Apply(HWND window, int command);

private:
    bool KnownHung(DWORD thread) const;
    void RememberHung(DWORD thread);

    // Owners found hung during this batch are not probed again.
    enum { kMaxHungThreads = 16 };
    DWORD hungThreads[kMaxHungThreads];
    int hungCount;
};
