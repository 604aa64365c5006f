#include "win/module.h"

namespace {

HINSTANCE g_moduleInstance;
LONG g_liveObjectCount;

}  // namespace

HINSTANCE ModuleInstance()
{
    return g_moduleInstance;
}

void SetModuleInstance(HINSTANCE instance)
{
    g_moduleInstance = instance;
}

LONG LiveObjectCount()
{
    return InterlockedCompareExchange(&g_liveObjectCount, 0, 0);
}

CModuleReference::CModuleReference()
{
    InterlockedIncrement(&g_liveObjectCount);
}

CModuleReference::~CModuleReference()
{
    InterlockedDecrement(&g_liveObjectCount);
}
