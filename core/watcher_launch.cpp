#include "core/watcher_launch.h"

#include "win/detached_process.h"
#include "win/module.h"

const char kLaunchOption[] = "/launch";
const char kWatchOption[] = "/watch";

namespace {

// One watcher per process, however many pagers and switches.
LONG g_watcherStarted;

void RunRecovery(const char* option, DWORD hostId)
{
    wchar_t arguments[64];
    wsprintfW(arguments, L"RecoverWindows %hs %lu", option, hostId);
    RunModuleEntry(ModuleInstance(), arguments);
}

}  // namespace

void StartHostWatcher()
{
    if (InterlockedCompareExchange(&g_watcherStarted, 1, 0) != 0)
        return;
    // Linked into a program rather than loaded as the DLL: no entry to run.
    if (ModuleInstance())
        RunRecovery(kLaunchOption, GetCurrentProcessId());
}

void LaunchWatcher(DWORD hostId)
{
    RunRecovery(kWatchOption, hostId);
}
