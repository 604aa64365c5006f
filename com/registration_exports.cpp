// DllRegisterServer and DllUnregisterServer.
#include <windows.h>
#include <olectl.h>

#include "win/module.h"
#include "com/registration.h"
#include "plugin/bar_interfaces.h"

STDAPI DllRegisterServer()
{
    // Nothing is registered without the class id's text or the whole module
    // path; a row that cannot be written is reported, after the others and
    // the category have been recorded.
    char classText[kRegistryTextSize];
    char modulePath[kRegistryTextSize];
    if (!ClassIdToRegistryText(CLSID_PagerPlugin, classText) ||
        !ReadModulePath(ModuleInstance(), modulePath))
        return SELFREG_E_CLASS;
    BOOL rows = WriteRegistrationRows(ModuleInstance(), CLSID_PagerPlugin, kPagerDescription);
    BOOL category = RegisterImplementedCategory(CLSID_PagerPlugin, CATID_BarPlugin);
    return rows && category ? S_OK : SELFREG_E_CLASS;
}

STDAPI DllUnregisterServer()
{
    return DeleteClassKey(ModuleInstance(), CLSID_PagerPlugin) ? S_OK : SELFREG_E_CLASS;
}
