#include "core/host_watch.h"

#include "core/parked_mark.h"
#include "win/handle_scope.h"
#include "win/sent_message_wait.h"

namespace {

struct Sweep
{
    DWORD hostId;
    // The owner may be hung; the watcher waits on no one.
    CWindowShower shower{kNeverWait};
};

}  // namespace

static BOOL CALLBACK ShowIfParkedByHost(HWND window, LPARAM param)
{
    Sweep* sweep = reinterpret_cast<Sweep*>(param);
    // The mark is read right before the window is shown: a window that a
    // new host has taken over since is left to that host.
    if (IsParkedBy(window, sweep->hostId))
        ShowParked(window, sweep->shower);
    return TRUE;
}

static void WaitAndSweep(DWORD hostId)
{
    // While the handle is open the id names no other process, so the sweep
    // cannot take a newcomer's windows for the host's.
    CHandleScope hostScope(OpenProcess(SYNCHRONIZE, FALSE, hostId));
    HANDLE host = hostScope.get();
    if (host)
    {
        // rundll32 gave this thread a top-level window, which must answer.
        if (!WaitAnsweringSentMessages(host))
            return;  // the host may still be alive: leave its windows parked
    }
    // A host already gone when the watcher started is swept at once.
    Sweep sweep;
    sweep.hostId = hostId;
    EnumWindows(ShowIfParkedByHost, reinterpret_cast<LPARAM>(&sweep));
}

void WatchHost(DWORD hostId)
{
    // A module unloaded and loaded again in its host starts another watcher;
    // the first to claim the host keeps the watch, the other leaves at once.
    // The claim holds the watcher's own process id, for whoever looks for it.
    char name[64];
    wsprintfA(name, "Local\\VirtualDesktopPagerWatch.%lu", hostId);
    CHandleScope claim(CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0, sizeof(DWORD), name));
    bool watchedAlready = claim.get() && GetLastError() == ERROR_ALREADY_EXISTS;
    if (claim.get() && !watchedAlready)
    {
        if (DWORD* watcher = static_cast<DWORD*>(MapViewOfFile(claim.get(), FILE_MAP_WRITE, 0, 0, sizeof(DWORD))))
        {
            *watcher = GetCurrentProcessId();
            UnmapViewOfFile(watcher);
        }
    }
    if (hostId != 0 && !watchedAlready)
        WaitAndSweep(hostId);
}
