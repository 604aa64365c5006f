// DllRegisterServer and DllUnregisterServer.
#include <windows.h>
#include <olectl.h>

#include "com/module_state.h"
#include "com/registration.h"
#include "plugin/bar_interfaces.h"

STDAPI DllRegisterServer()
{
    if (!WriteRegistrationRows(g_moduleState.moduleInstance, CLSID_PagerPlugin, kPagerDescription))
        return SELFREG_E_CLASS;
    return RegisterImplementedCategory(CLSID_PagerPlugin, CATID_BarPlugin) ? S_OK : SELFREG_E_CLASS;
}

STDAPI DllUnregisterServer()
{
    return DeleteClassKey(CLSID_PagerPlugin) ? S_OK : SELFREG_E_CLASS;
}
