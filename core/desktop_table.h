// The process-wide table of virtual desktops: one list of remembered
// top-level windows per desktop, and the switch between them.
#pragma once

#include <windows.h>
#include <stddef.h>
#include <stdint.h>

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

class CDesktopTable
{
public:
    CDesktopTable();
    virtual ~CDesktopTable();

    bool Reset(int count);
    // Inline: the stream copies all 9000 entries through these.
    void GetEntry(int desktop, int position, DesktopEntry* out) const { *out = entries[desktop][position]; }
    void SetEntry(int desktop, int position, const DesktopEntry* in) { entries[desktop][position] = *in; }
    bool ChangeCount(int count);
    bool SwitchTo(int index, HWND barTop);
    bool RestoreAll();

    // Shows the windows parked on desktops other than the current one, so
    // that forgetting the lists never leaves a window hidden for good.
    // kNeverWait for a module unloaded under a live pager: the loader lock is
    // held, and no window's owner may be waited for.
    void ShowParkedWindows(ShowWait wait = kWaitForAnsweringOwners);

    int currentIndex;
    int desktopCount;
    int windowCounts[kMaxDesktops];
    DesktopEntry entries[kMaxDesktops][kMaxWindowsPerDesktop];
    HWND trayWindow;
    HWND progmanWindow;
    HWND barTopWindow;

private:
    static BOOL CALLBACK CollectSwitchWindow(HWND window, LPARAM param);
    void ShowList(int desktop, CWindowShower& shower);
    void ClearLists();
};

extern CDesktopTable g_desktopTable;
