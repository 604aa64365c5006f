// Acts on modal windows from inside their message loops. A thread timer runs
// the queued steps in order, each once the window it waits for is there. A
// step may start a nested modal loop (a dialog from a dialog); the timer
// keeps ticking inside it. After `maxTicks` the driver gives up and, tick by
// tick, cancels every dialog and destroys every palette popup of the thread,
// so that no test waits on a window nobody closes.
#pragma once

#include <windows.h>
#include <functional>
#include <vector>

class ModalDriver
{
public:
    using Finder = std::function<HWND()>;
    using Action = std::function<void(HWND)>;

    explicit ModalDriver(int maxTicks = 300);
    ~ModalDriver();
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;

    ModalDriver& Then(Finder find, Action act);
    bool AllStepsRan() const { return next == steps.size(); }
    bool GaveUp() const { return gaveUp; }

private:
    struct Step
    {
        Finder find;
        Action act;
    };
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void OnTick();

    std::vector<Step> steps;
    size_t next = 0;
    int ticks = 0;
    int maxTicks;
    bool gaveUp = false;
    UINT_PTR timer;
};

// A visible dialog (#32770) of this thread; with a caption, only that one.
HWND FindThreadDialog(const char* caption = NULL);
// A visible window of this thread with that class name.
HWND FindThreadWindow(const char* className);
// A finder for ModalDriver::Then.
ModalDriver::Finder DialogCaptioned(const char* caption);
