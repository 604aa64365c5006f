// Waiting on another thread that may be sending messages to this one.
#pragma once

#include <windows.h>

// Waits until `event` is set, answering the messages other threads send to
// this thread meanwhile: a thread that waits for our answer while we wait for
// it would otherwise wait with us for good. Posted messages stay queued.
inline void WaitAnsweringSentMessages(HANDLE event)
{
    while (MsgWaitForMultipleObjects(1, &event, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1)
    {
        MSG message;
        PeekMessageA(&message, NULL, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}
