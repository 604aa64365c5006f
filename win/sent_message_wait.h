// Waiting on another thread that may be sending messages to this one.
#pragma once

#include <windows.h>

#include "win/window_platform.h"

// Waits until `object` is signalled, answering the messages other threads
// send to this thread meanwhile (a thread that waits for our answer while we
// wait for it would otherwise wait with us for good, and so would a
// broadcast or the end of the session) and carrying out the requests they
// queue to our windows. Posted messages stay queued. False when the wait
// failed rather than ended.
inline bool WaitAnsweringSentMessages(HANDLE object)
{
    // Without MWMO_INPUTAVAILABLE the wait wakes only for what arrived since
    // the queue was last looked at, so a posted message left queued does not
    // keep it spinning.
    DWORD woken;
    while ((woken = MsgWaitForMultipleObjects(1, &object, FALSE, INFINITE, QS_ALLINPUT)) == WAIT_OBJECT_0 + 1)
        CarryOutQueuedRequests();
    return woken == WAIT_OBJECT_0;
}
