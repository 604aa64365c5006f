#include "support/hung_thread.h"

#include <memory>
#include <vector>

#include "support/test_window.h"

static const UINT kFreezeMessage = WM_APP + 1;

HungThread::HungThread(const char* windowTitle, int windows) : title(windowTitle), windowCount(windows)
{
    ready = CreateEventA(NULL, FALSE, FALSE, NULL);
    frozen = CreateEventA(NULL, FALSE, FALSE, NULL);
    thaw = CreateEventA(NULL, FALSE, FALSE, NULL);
    thread = CreateThread(NULL, 0, Run, this, 0, &threadId);
    WaitForSingleObject(ready, 5000);
}

HungThread::~HungThread()
{
    SetEvent(thaw);
    PostThreadMessageA(threadId, WM_QUIT, 0, 0);
    WaitForSingleObject(thread, 5000);
    CloseHandle(thread);
    CloseHandle(ready);
    CloseHandle(frozen);
    CloseHandle(thaw);
}

void HungThread::Freeze()
{
    PostThreadMessageA(threadId, kFreezeMessage, 0, 0);
    WaitForSingleObject(frozen, 5000);
}

void HungThread::Thaw()
{
    SetEvent(thaw);
}

DWORD WINAPI HungThread::Run(LPVOID param)
{
    HungThread* self = static_cast<HungThread*>(param);
    std::vector<std::unique_ptr<TestWindow>> owned;
    for (int i = 0; i < self->windowCount; ++i)
        owned.emplace_back(new TestWindow(kTestWindowClass, self->title, true));
    self->window = owned.back()->hwnd();
    MSG msg;
    PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE);  // the thread's queue exists before anyone posts
    SetEvent(self->ready);
    while (GetMessageA(&msg, NULL, 0, 0) > 0)
    {
        if (msg.hwnd == NULL && msg.message == kFreezeMessage)
        {
            SetEvent(self->frozen);
            WaitForSingleObject(self->thaw, INFINITE);  // no message is handled meanwhile
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

bool WaitForVisibility(HWND window, bool visible, DWORD milliseconds)
{
    DWORD start = GetTickCount();
    while ((IsWindowVisible(window) != FALSE) != visible)
    {
        if (GetTickCount() - start > milliseconds)
            return false;
        PumpMessages(10);
    }
    return true;
}
