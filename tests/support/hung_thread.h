// A second thread that owns visible top-level windows and can be told to
// stop pumping messages, as a hung application does.
#pragma once

#include <windows.h>

class HungThread
{
public:
    explicit HungThread(const char* title, int windowCount = 1);
    ~HungThread();  // thaws and ends the thread

    HWND hwnd() const { return window; }  // the last window made, top-most and active
    void Freeze();  // returns once the thread has stopped pumping
    void Thaw();

private:
    static DWORD WINAPI Run(LPVOID param);

    const char* title;
    int windowCount;
    HWND window = NULL;
    DWORD threadId = 0;
    HANDLE thread = NULL;
    HANDLE ready;
    HANDLE frozen;
    HANDLE thaw;
};

// Polls (pumping this thread's messages) until the window's visibility is
// `visible` or `milliseconds` have passed.
bool WaitForVisibility(HWND window, bool visible, DWORD milliseconds);
