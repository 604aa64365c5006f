// DllRegisterServer and DllUnregisterServer.
#include <windows.h>
#include <olectl.h>
#include <shlwapi.h>

#include "com/module_state.h"
#include "com/registration.h"

STDAPI DllRegisterServer()
{
    if (!WriteRegistrationRows(g_moduleState.moduleInstance, CLSID_PagerPlugin, kPagerDescription))
        return SELFREG_E_CLASS;
    return RegisterImplementedCategory(CLSID_PagerPlugin, CATID_BarPlugin) ? S_OK : SELFREG_E_CLASS;
}

STDAPI DllUnregisterServer()
{
    // Without the class id the key name would be "CLSID\" and the delete
    // would take every class of the machine with it.
    char classText[kRegistryTextSize];
    if (!ClassIdToRegistryText(CLSID_PagerPlugin, classText))
        return SELFREG_E_CLASS;
    char keyName[kRegistryTextSize];
    wsprintfA(keyName, "CLSID\\%s", classText);
    SHDeleteKeyA(HKEY_CLASSES_ROOT, keyName);
    return S_OK;
}
