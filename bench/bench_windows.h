// Top-level windows for the benchmark, owned either by the benchmark's own
// thread or by a second thread that pumps messages as an application does.
#pragma once

#include <windows.h>

#include <vector>

class CWindowOwner
{
public:
    explicit CWindowOwner(bool onOwnThread);
    ~CWindowOwner();  // destroys every window it made
    CWindowOwner(const CWindowOwner&) = delete;
    CWindowOwner& operator=(const CWindowOwner&) = delete;

    // `count` windows titled "<prefix> <number> - Bench Document". Visible ones
    // are made hidden and then marked visible through their style: creating
    // and mapping a thousand X windows takes minutes, and the first switch
    // that shows them maps them anyway.
    std::vector<HWND> Create(int count, const char* prefix, bool visible);

    // Marks windows visible through their style, as Create does.
    static void MarkVisible(const std::vector<HWND>& windows);

    // Returns once the owner has handled every message its windows were sent
    // or posted, paints included, so that the next timed part starts from a
    // quiet owner.
    void WaitUntilIdle();

private:
    struct Request
    {
        int count;
        const char* prefix;
        bool visible;
        std::vector<HWND>* made;
        HANDLE done;
    };
    static DWORD WINAPI Run(LPVOID param);
    static void Make(const Request& request);
    void Serve();

    bool ownThread;
    std::vector<HWND> windows;
    HANDLE thread;
    DWORD threadId;
    HANDLE ready;
    HANDLE idle;  // set by the owner thread whenever its queue has run empty
};

// Dispatches this thread's pending messages (paints, X events) outside the timed part.
void PumpPending();
