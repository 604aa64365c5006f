// Module-wide state of the COM server.
#pragma once

#include <windows.h>

struct ModuleState
{
    HINSTANCE moduleInstance;  // set at process attach, never changed
    LONG liveObjectCount;      // live class factories plus live pager objects; interlocked
};

extern ModuleState g_moduleState;
