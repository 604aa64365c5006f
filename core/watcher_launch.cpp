#include "core/watcher_launch.h"

#include <windows.h>

#include "com/module_state.h"
#include "core/host_watch.h"

// One watcher per process, however many pagers and switches.
static LONG g_watcherStarted;

void StartHostWatcher()
{
    if (InterlockedCompareExchange(&g_watcherStarted, 1, 0) != 0)
        return;
    // Linked into a program rather than loaded as the DLL: no entry to run.
    if (!g_moduleState.moduleInstance)
        return;
    // Never a search path. For a 32-bit host on 64-bit Windows, WOW64's
    // redirection makes this System32 path start SysWOW64's rundll32, the
    // 32-bit one that can load this module.
    char folder[MAX_PATH];
    char modulePath[MAX_PATH];
    UINT folderLength = GetSystemDirectoryA(folder, sizeof(folder));
    DWORD moduleLength = GetModuleFileNameA(g_moduleState.moduleInstance, modulePath, sizeof(modulePath));
    if (folderLength == 0 || folderLength >= sizeof(folder) || moduleLength == 0 ||
        moduleLength >= sizeof(modulePath))
        return;
    char program[MAX_PATH + 16];
    char commandLine[3 * MAX_PATH];
    wsprintfA(program, "%s\\rundll32.exe", folder);
    wsprintfA(commandLine, "\"%s\" \"%s\",RecoverWindows %s %lu", program, modulePath, kWatchOption,
              GetCurrentProcessId());

    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process;
    // Out of the host's job where it may, so that ending the job's processes
    // leaves the watcher to its work; in it where it may not. It runs in the
    // system folder so as to hold no folder of the host's open.
    if (!CreateProcessA(program, commandLine, NULL, NULL, FALSE, CREATE_BREAKAWAY_FROM_JOB, NULL, folder,
                        &startup, &process) &&
        !CreateProcessA(program, commandLine, NULL, NULL, FALSE, 0, NULL, folder, &startup, &process))
        return;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}
