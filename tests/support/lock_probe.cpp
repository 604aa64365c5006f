#include "support/lock_probe.h"

namespace {

struct LockProbe
{
    CRITICAL_SECTION* section;
    bool entered;
};

DWORD WINAPI TryTheLock(LPVOID parameter)
{
    LockProbe* probe = static_cast<LockProbe*>(parameter);
    if (TryEnterCriticalSection(probe->section))
    {
        probe->entered = true;
        LeaveCriticalSection(probe->section);
    }
    return 0;
}

}  // namespace

bool LockIsFree(CRITICAL_SECTION* section, DWORD waitMilliseconds)
{
    LockProbe probe = {section, false};
    HANDLE thread = CreateThread(NULL, 0, TryTheLock, &probe, 0, NULL);
    WaitForSingleObject(thread, waitMilliseconds);
    CloseHandle(thread);
    return probe.entered;
}
