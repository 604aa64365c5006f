// The module's entry points.
#include <windows.h>
#include <objbase.h>

#include "colorpicker/color_picker_popup.h"
#include "com/class_factory.h"
#include "win/module.h"
#include "core/desktop_table.h"
#include "plugin/hot_keys.h"
#include "plugin/bar_interfaces.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH)
    {
        SetModuleInstance(instance);
        RegisterPopupClass(instance);
    }
    // A class outlives the DLL that registered it, its window procedure then
    // pointing into freed code, and a host that unloads us under a live pager
    // would leave its parked windows hidden for good. At process exit there
    // is nothing to protect: the windows' owners may be gone too.
    else if (reason == DLL_PROCESS_DETACH && !reserved)
    {
        g_desktopTable.ShowParkedWindows(kNeverWait);
        UnregisterPopupClass(instance);
        UnregisterHotKeyClass(instance);
    }
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
    return LiveObjectCount() == 0 ? S_OK : S_FALSE;
}
