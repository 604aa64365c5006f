// Waiting on another thread that may be sending messages to this one.
#pragma once

#include <windows.h>

#include "win/window_platform.h"

// Waits until `event` is set, answering the messages other threads send to
// this thread meanwhile (a thread that waits for our answer while we wait for
// it would otherwise wait with us for good) and carrying out the requests
// they queue to our windows. Posted messages stay queued.
inline void WaitAnsweringSentMessages(HANDLE event)
{
    // Without MWMO_INPUTAVAILABLE the wait wakes only for what arrived since
    // the queue was last looked at, so a posted message left queued does not
    // keep it spinning.
    while (MsgWaitForMultipleObjects(1, &event, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1)
        CarryOutQueuedRequests();
}
