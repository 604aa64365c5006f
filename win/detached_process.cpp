#include "win/detached_process.h"

namespace {

// Long enough for paths past MAX_PATH.
const DWORD kPathChars = 1024;

}  // namespace

bool RunModuleEntry(HINSTANCE module, const wchar_t* entryAndArguments)
{
    // Never a search path. For a 32-bit process on 64-bit Windows, WOW64's
    // redirection makes this System32 path start SysWOW64's rundll32, the
    // 32-bit one that can load this module.
    wchar_t folder[kPathChars];
    wchar_t modulePath[kPathChars];
    UINT folderLength = GetSystemDirectoryW(folder, kPathChars);
    DWORD moduleLength = GetModuleFileNameW(module, modulePath, kPathChars);
    if (folderLength == 0 || folderLength >= kPathChars || moduleLength == 0 || moduleLength >= kPathChars ||
        lstrlenW(entryAndArguments) > 200)
        return false;
    wchar_t program[kPathChars + 16];
    wchar_t commandLine[3 * kPathChars];
    wsprintfW(program, L"%s\\rundll32.exe", folder);
    wsprintfW(commandLine, L"\"%s\" \"%s\",%s", program, modulePath, entryAndArguments);

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process;
    if (!CreateProcessW(program, commandLine, NULL, NULL, FALSE, CREATE_BREAKAWAY_FROM_JOB, NULL, folder, &startup,
                        &process) &&
        !CreateProcessW(program, commandLine, NULL, NULL, FALSE, 0, NULL, folder, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}
