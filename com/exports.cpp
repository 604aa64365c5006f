// The module's entry points.
#include <windows.h>
#include <objbase.h>

#include "colorpicker/color_picker_popup.h"
#include "com/class_factory.h"
#include "com/module_state.h"
#include "plugin/bar_interfaces.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH)
    {
        g_moduleState.moduleInstance = instance;
        RegisterPopupClass(instance);
    }
    // A class outlives the DLL that registered it, its window procedure then
    // pointing into freed code; at process exit there is nothing to protect.
    else if (reason == DLL_PROCESS_DETACH && !reserved)
        UnregisterPopupClass(instance);
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = NULL;
    if (!IsEqualCLSID(rclsid, CLSID_PagerPlugin))
        return CLASS_E_CLASSNOTAVAILABLE;
    CClassFactory* factory = CreateClassFactory(rclsid);
    if (!factory)
        return E_OUTOFMEMORY;
    HRESULT hr = factory->QueryInterface(riid, ppv);
    factory->Release();
    return hr;
}

STDAPI DllCanUnloadNow()
{
    return InterlockedCompareExchange(&g_moduleState.liveObjectCount, 0, 0) == 0 ? S_OK : S_FALSE;
}
