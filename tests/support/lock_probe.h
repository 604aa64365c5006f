// Looks at a critical section from another thread.
#pragma once

#include <windows.h>

// Whether another thread could enter the section right now. Waits up to
// `waitMilliseconds` for that thread; "not free" when it has not answered.
bool LockIsFree(CRITICAL_SECTION* section, DWORD waitMilliseconds);
