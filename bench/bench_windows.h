// Top-level windows for the benchmark, owned by the benchmark's own thread,
// by a second thread, or by a second process; the latter two pump messages
// as an idle application does.
#pragma once

#include <windows.h>

#include <vector>

#include "bench/window_board.h"

enum WindowOwnerKind
{
    kPagerThread,
    kOtherThread,
    kOtherProcess
};

class CWindowOwner
{
public:
    explicit CWindowOwner(WindowOwnerKind kind);
    ~CWindowOwner();  // destroys every window it made
    CWindowOwner(const CWindowOwner&) = delete;
    CWindowOwner& operator=(const CWindowOwner&) = delete;

    // A batch of `count` windows titled "<prefix> <number> - Bench Document",
    // at most four batches. Visible ones are only marked visible, see MakeBatch.
    std::vector<HWND> Create(int count, const char* prefix, bool visible, BatchLayout layout = kTiledLayout);

    // Marks windows visible through their style, as Create does.
    static void MarkVisible(const std::vector<HWND>& windows);

    // Returns once the owner has handled every message its windows were sent
    // or posted, paints included, so that the next timed part starts from a
    // quiet owner.
    void WaitUntilIdle();

    // The WM_ACTIVATE messages that the windows of a batch have received.
    LONG Activations(int batch) const;
    // The WM_PAINT messages that the windows of a batch have received.
    LONG Paints(int batch) const;

private:
    static DWORD WINAPI ServeOnThread(LPVOID param);
    void StartThread();
    void StartProcess();
    void PostToOwner(UINT message);

    WindowOwnerKind kind;
    int batches;
    std::vector<HWND> windows;  // those of this thread
    HANDLE owner;               // the owning thread or process
    DWORD ownerThreadId;
    HANDLE done;
    HANDLE idle;
};

// Dispatches this thread's pending messages (paints, X events) outside the timed part.
void PumpPending();
