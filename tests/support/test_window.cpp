#include "support/test_window.h"

#include "support/event_log.h"

static LONG g_activateMessages = 0;

LONG ActivateMessages()
{
    return InterlockedCompareExchange(&g_activateMessages, 0, 0);
}

static LRESULT CALLBACK LoggingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ACTIVATE)
        InterlockedIncrement(&g_activateMessages);
    if (message == WM_SHOWWINDOW)
    {
        char title[256];
        GetWindowTextA(window, title, sizeof(title));
        LogEvent(std::string(wParam ? "show " : "hide ") + title);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterTestClass(const char* className, WNDPROC windowProc, HBRUSH background)
{
    WNDCLASSA existing;
    if (GetClassInfoA(GetModuleHandleA(NULL), className, &existing))
        return;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.hCursor = LoadCursor(NULL, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    RegisterClassA(&wc);
}

static void EnsureClass(const char* className)
{
    RegisterTestClass(className, LoggingWindowProc, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
}

TestWindow::TestWindow(const char* className, const char* title, bool visible)
{
    EnsureClass(className);
    window = CreateWindowExA(0, className, title, WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0),
                             10, 10, 200, 120, NULL, NULL, GetModuleHandleA(NULL), NULL);
}

TestWindow::~TestWindow()
{
    if (IsWindow(window))
        DestroyWindow(window);
}

void PumpMessages(DWORD milliseconds)
{
    DWORD start = GetTickCount();
    for (;;)
    {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
        {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds)
            break;
        MsgWaitForMultipleObjects(0, NULL, FALSE, milliseconds - elapsed, QS_ALLINPUT);
    }
}
