// The process-wide table of virtual desktops: one list of remembered
// top-level windows per desktop, and the switch between them.
#pragma once

#include <windows.h>
#include <stddef.h>
#include <stdint.h>

#include "win/bounded_list.h"
#include "win/critical_section.h"
#include "win/window_shower.h"

const int kMaxDesktops = 9;
const int kMaxWindowsPerDesktop = 1000;

struct DesktopEntry
{
    uint32_t window;     // 32-bit window handle, see win/handle32.h
    uint32_t reserved1;  // carried through the state stream, never interpreted
    uint32_t reserved2;
};
static_assert(sizeof(DesktopEntry) == 12, "DesktopEntry is persisted as 12 bytes");
static_assert(offsetof(DesktopEntry, reserved1) == 4 && offsetof(DesktopEntry, reserved2) == 8,
              "DesktopEntry field order is part of the stream format");

// A stored window count that a desktop's list can hold.
inline bool IsWindowCount(int32_t count)
{
    return count >= 0 && count <= kMaxWindowsPerDesktop;
}

// Lists to put in place of the table's own, as a load brings them, or a copy
// of them; staged by the caller, not by the table.
struct DesktopLists
{
    int32_t currentIndex;
    int32_t windowCounts[kMaxDesktops];
    DesktopEntry entries[kMaxDesktops][kMaxWindowsPerDesktop];
};

// One desktop's windows as 32-bit handles.
typedef CBoundedList<uint32_t, kMaxWindowsPerDesktop> DesktopWindows;

// The table guards itself: every operation takes its lock for its own reading
// and writing only, and no caller ever holds it. Windows are shown and hidden,
// enumerated and asked for their titles after it is left, so that no thread
// waits for the lock while the holder waits for that thread's windows.
// One switch runs at a time: a switch on another thread waits for it,
// answering sent messages; a switch asked for from inside it, on its own
// thread, is refused. A reset, load, count change or restore during a switch
// changes the table at once and shows what it shows; the switch, once done,
// shows again any window it hid that no list remembers any more.
class CDesktopTable
{
public:
    CDesktopTable();
    ~CDesktopTable();

    // With `lists`, the table then holds them (a load), and takes over their
    // hidden windows for this host; the windows parked before are shown
    // either way.
    bool Reset(int count, const DesktopLists* lists = NULL);
    // Puts `lists` in place as they are, showing and marking nothing: for a
    // caller that put the windows where the lists say itself.
    void Replace(const DesktopLists& lists);
    bool ChangeCount(int count);
    bool SwitchTo(int index, HWND barTop);
    // Moves `window`, with its visible owned windows, to desktop `index`,
    // where it comes back in front and active. Sending hides it and leaves
    // the user here, the foreground going to the next window of this desktop;
    // carrying switches there with it, never hiding it. Only a window that a
    // switch would record moves; false when nothing moved.
    bool SendWindow(HWND window, int index, HWND barTop, bool carry);
    bool RestoreAll();
    // A copy of the lists, for a writer that must not hold the lock (a host's
    // stream may wait on another thread).
    void Snapshot(DesktopLists* lists, int32_t* count) const;
    // One desktop's list, from the first recorded to the last.
    void CopyList(int desktop, DesktopWindows* windows) const;

    // Plain reads, without the lock: a value may be one change old.
    int Count() const { return *static_cast<const volatile int*>(&desktopCount); }
    int Current() const { return *static_cast<const volatile int*>(&currentIndex); }
    bool HasWindows(int desktop) const;

    // The window in the foreground while the mouse moves over the cells: the
    // bar may take the foreground with the click, and the window to bring
    // back active later is the one it took it from.
    void NoteForeground();

    // Shows the windows parked on desktops other than the current one, so
    // that forgetting the lists never leaves a window hidden for good.
    // kNeverWait for a module unloaded under a live pager: the loader lock is
    // held, and no window's owner may be waited for.
    void ShowParkedWindows(ShowWait wait = kWaitForAnsweringOwners);

private:
    typedef CBoundedSpan<uint32_t> WindowBatch;

    void CollectList(int desktop, WindowBatch& batch) const;
    void CollectParked(WindowBatch& batch) const;
    void CollectForgotten(const WindowBatch& hidden, WindowBatch& forgotten) const;
    bool IsRemembered(uint32_t window) const;
    void ClearLists();
    bool EnterSwitch();
    void LeaveSwitch();
    void RecordDesktop(const WindowBatch& windows, uint32_t active);
    bool Switch(int index, HWND barTop, HWND carried);
    bool Send(HWND window, int index, HWND barTop);
    bool PutFirst(int desktop, const WindowBatch& windows);
    void EndMove(const WindowBatch& moved, const WindowBatch& refused, LONG startGeneration, int desktop);
    void ForgetRefused(int desktop, const WindowBatch& refused);

    mutable CCriticalSection lock;
    int currentIndex;
    int desktopCount;
    int windowCounts[kMaxDesktops];
    DesktopEntry entries[kMaxDesktops][kMaxWindowsPerDesktop];
    DWORD switchThread;  // the thread whose switch runs, or 0
    HANDLE switchEnded;  // set while no switch runs
    LONG generation;     // counts the changes of the lists made outside a switch
    // Per desktop, the window that was active when it was left (memory only).
    uint32_t activeWindow[kMaxDesktops];
    volatile LONG userForeground;  // see NoteForeground
};

extern CDesktopTable g_desktopTable;
