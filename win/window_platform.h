// The platform calls whose outcome differs between systems: a request to
// another thread's window, the probe of its owner, the owner's rank. The
// switch reaches them through one object, so that a test can put outcomes
// in their place that a given system never shows (a refused hide, a probe
// answered before the requests were carried out, a request carried out late).
#pragma once

#include <windows.h>

enum ProbeAnswer
{
    kProbeAnswered,  // the owner pumps messages
    kProbeTimedOut,  // it did not answer within the limit: hung, or busy
    kProbeGone,      // the window was destroyed meanwhile; its owner may well pump
};

class CWindowPlatform
{
public:
    virtual ~CWindowPlatform() {}

    virtual DWORD OwnerThread(HWND window);
    // ShowWindowAsync; false when the request was refused (access denied:
    // the owner runs at a higher integrity level).
    virtual bool Request(HWND window, int command);
    // A WM_NULL sent with `timeoutMs`.
    virtual ProbeAnswer Probe(HWND window, UINT timeoutMs);
    // Whether the process runs at an integrity level above this one's: the
    // system then refuses our requests to its windows (an elevated program,
    // a process of the system). A process whose level cannot be read counts
    // as above: only such processes keep it from us.
    virtual bool ProcessOutranksUs(DWORD processId);
};

CWindowPlatform& WindowPlatform();
// Null puts the system's calls back.
void SetWindowPlatform(CWindowPlatform* platform);

// Carries out what other threads queued to this one (sent messages, and the
// show-window events of ShowWindowAsync, which the thread handles when it
// looks at its queue), so that a decision this thread takes next is not
// undone by an older request still waiting there.
void CarryOutQueuedRequests();
