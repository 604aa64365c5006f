// Real top-level windows for tests. Each logs "show <title>" and
// "hide <title>" for every WM_SHOWWINDOW it receives, and counts WM_ACTIVATE.
#pragma once

#include <windows.h>
#include <string>

class TestWindow
{
public:
    TestWindow(const char* className, const char* title, bool visible);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND hwnd() const { return window; }
    bool IsVisible() const { return IsWindowVisible(window) != FALSE; }

private:
    HWND window;
};

const char kTestWindowClass[] = "PagerTestWindow";

// WM_ACTIVATE messages that test windows of any thread have received.
LONG ActivateMessages();

// Registers a window class of the test program, once per name.
void RegisterTestClass(const char* className, WNDPROC windowProc, HBRUSH background);

// Dispatches pending messages for up to `milliseconds`.
void PumpMessages(DWORD milliseconds);
