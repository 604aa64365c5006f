// The benchmark's windows and the message loop of the thread that owns them,
// built both into the benchmark and into its window owner process. The two
// meet on a board in shared memory: what to make, the windows made, and the
// WM_ACTIVATE and WM_PAINT messages each batch of windows has received.
#pragma once

#include <windows.h>
#include <stdint.h>

const int kMaxWindowBatches = 4;
const int kMaxBatchWindows = 1000;

enum BatchLayout
{
    kTiledLayout,      // small windows side by side, few of them overlapping
    kOverlappedLayout  // desktop-sized windows cascaded over each other
};

struct WindowBoard
{
    // Counted by the windows' procedure.
    LONG activations[kMaxWindowBatches];
    LONG paints[kMaxWindowBatches];
    // The batch to make next, and the windows it made, as 32-bit handles.
    int batch;
    int count;
    BOOL visible;
    int layout;  // a BatchLayout
    char prefix[16];
    uint32_t made[kMaxBatchWindows];
};

// Thread messages of the owner's loop.
const UINT kMakeMessage = WM_APP + 1;     // makes the board's batch, then sets the done event
const UINT kDestroyMessage = WM_APP + 2;  // destroys every window the loop made
const UINT kWakeMessage = WM_APP + 3;     // only lets the loop run empty once more

// Registers the window class once per process; its windows count on `board`.
void RegisterBenchClass(WindowBoard* board);

// Makes the board's batch on this thread and writes the handles to `made`.
// Visible windows are made hidden and then marked visible through their
// style: creating and mapping a thousand X windows takes minutes, and the
// first switch that shows them maps them anyway.
void MakeBatch(WindowBoard* board);

// Runs an owner's loop until WM_QUIT, pumping as an idle application does:
// `done` is set after each batch made, `idle` whenever the queue runs empty.
void ServeWindows(WindowBoard* board, HANDLE done, HANDLE idle);

// The board's shared memory and events, named after the benchmark's process id.
void BoardObjectName(char* name, size_t size, DWORD benchProcess, const char* what);
