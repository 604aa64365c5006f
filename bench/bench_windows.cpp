#include "bench/bench_windows.h"

#include <stdio.h>

namespace {

const char kClassName[] = "PagerBenchWindow";
const UINT kCreateMessage = WM_APP + 1;
const UINT kDestroyMessage = WM_APP + 2;
const UINT kWakeMessage = WM_APP + 3;

void RegisterBenchClass()
{
    WNDCLASSA existing;
    if (GetClassInfoA(GetModuleHandleA(NULL), kClassName, &existing))
        return;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.hCursor = LoadCursor(NULL, IDC_ARROW);
    wc.lpszClassName = kClassName;  // no background brush: nothing to erase
    RegisterClassA(&wc);
}

void DestroyAll(std::vector<HWND>& windows)
{
    for (HWND window : windows)
        DestroyWindow(window);
    windows.clear();
}

}  // namespace

CWindowOwner::CWindowOwner(bool onOwnThread)
    : ownThread(onOwnThread), thread(NULL), threadId(0), ready(NULL), idle(NULL)
{
    RegisterBenchClass();
    if (ownThread)
        return;
    ready = CreateEventA(NULL, FALSE, FALSE, NULL);
    idle = CreateEventA(NULL, TRUE, FALSE, NULL);
    thread = CreateThread(NULL, 0, Run, this, 0, &threadId);
    WaitForSingleObject(ready, INFINITE);
}

CWindowOwner::~CWindowOwner()
{
    if (ownThread)
    {
        DestroyAll(windows);
        PumpPending();
        return;
    }
    PostThreadMessageA(threadId, kDestroyMessage, 0, reinterpret_cast<LPARAM>(&windows));
    PostThreadMessageA(threadId, WM_QUIT, 0, 0);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    CloseHandle(ready);
    CloseHandle(idle);
}

void CWindowOwner::Make(const Request& request)
{
    // Tiled over the screen in small windows, so that a shown window covers few others.
    const int width = 40, height = 30, columns = 32, rows = 34;
    for (int i = 0; i < request.count; ++i)
    {
        char title[64];
        snprintf(title, sizeof(title), "%s %04d - Bench Document", request.prefix, i);
        int place = static_cast<int>(request.made->size());
        HWND window = CreateWindowExA(0, kClassName, title, WS_OVERLAPPED | WS_CAPTION,
                                      (place % columns) * width, (place / columns % rows) * height, width, height,
                                      NULL, NULL, GetModuleHandleA(NULL), NULL);
        if (request.visible)
            SetWindowLongPtrA(window, GWL_STYLE, GetWindowLongPtrA(window, GWL_STYLE) | WS_VISIBLE);
        request.made->push_back(window);
    }
}

void CWindowOwner::MarkVisible(const std::vector<HWND>& list)
{
    for (HWND window : list)
        SetWindowLongPtrA(window, GWL_STYLE, GetWindowLongPtrA(window, GWL_STYLE) | WS_VISIBLE);
}

std::vector<HWND> CWindowOwner::Create(int count, const char* prefix, bool visible)
{
    size_t first = windows.size();
    Request request = {count, prefix, visible, &windows, NULL};
    if (ownThread)
    {
        Make(request);
    }
    else
    {
        request.done = CreateEventA(NULL, FALSE, FALSE, NULL);
        PostThreadMessageA(threadId, kCreateMessage, 0, reinterpret_cast<LPARAM>(&request));
        WaitForSingleObject(request.done, INFINITE);
        CloseHandle(request.done);
    }
    return std::vector<HWND>(windows.begin() + first, windows.end());
}

void CWindowOwner::WaitUntilIdle()
{
    if (ownThread)
    {
        PumpPending();
        return;
    }
    // The wake-up message comes after everything sent or posted before it.
    ResetEvent(idle);
    PostThreadMessageA(threadId, kWakeMessage, 0, 0);
    WaitForSingleObject(idle, INFINITE);
}

DWORD WINAPI CWindowOwner::Run(LPVOID param)
{
    static_cast<CWindowOwner*>(param)->Serve();
    return 0;
}

void CWindowOwner::Serve()
{
    MSG msg;
    PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE);  // the queue exists before anyone posts
    SetEvent(ready);
    for (;;)
    {
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
        {
            if (msg.message == WM_QUIT)
                return;
            if (msg.hwnd == NULL && msg.message == kCreateMessage)
            {
                Request* request = reinterpret_cast<Request*>(msg.lParam);
                Make(*request);
                SetEvent(request->done);
                continue;
            }
            if (msg.hwnd == NULL && msg.message == kDestroyMessage)
            {
                DestroyAll(*reinterpret_cast<std::vector<HWND>*>(msg.lParam));
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        SetEvent(idle);
        MsgWaitForMultipleObjects(0, NULL, FALSE, INFINITE, QS_ALLINPUT);
    }
}

void PumpPending()
{
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}
