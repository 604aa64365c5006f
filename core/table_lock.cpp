#include "core/table_lock.h"

#include <windows.h>

namespace {

CRITICAL_SECTION g_tableSection;
// 0 before the first use, 1 while one thread initialises, 2 once ready. Made
// at first use, so that programs linking the code without DllMain get it too.
volatile LONG g_sectionState = 0;

void MakeSection()
{
    if (g_sectionState == 2)
        return;
    if (InterlockedCompareExchange(&g_sectionState, 1, 0) == 0)
    {
        InitializeCriticalSection(&g_tableSection);
        InterlockedExchange(&g_sectionState, 2);
        return;
    }
    while (g_sectionState != 2)
        Sleep(0);
}

}  // namespace

void EnterTableLock()
{
    MakeSection();
    // No holder waits for another thread, so a plain wait is short and
    // cannot close a circle.
    EnterCriticalSection(&g_tableSection);
}

void LeaveTableLock()
{
    LeaveCriticalSection(&g_tableSection);
}

void DeleteTableLock()
{
    if (InterlockedCompareExchange(&g_sectionState, 0, 2) == 2)
        DeleteCriticalSection(&g_tableSection);
}
