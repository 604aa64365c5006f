#include "host/plugin_loader.h"

#include <objbase.h>
#include <comcat.h>

#include "host/host_log.h"
#include "plugin/bar_interfaces.h"

static void LogClass(const char* what, REFCLSID classId)
{
    WCHAR wide[64];
    char text[64] = "";
    if (StringFromGUID2(classId, wide, 64))
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof(text), NULL, NULL);
    HostLog("%s %s", what, text);
}

BOOL CreateRegisteredPlugin(LoadedPlugin* loaded)
{
    loaded->plugin = NULL;
    loaded->module = NULL;
    ICatInformation* categories = NULL;
    if (FAILED(CoCreateInstance(CLSID_StdComponentCategoriesMgr, NULL, CLSCTX_INPROC_SERVER,
                                IID_ICatInformation, reinterpret_cast<void**>(&categories))))
        return FALSE;
    CATID wanted = CATID_BarPlugin;
    IEnumCLSID* classes = NULL;
    if (SUCCEEDED(categories->EnumClassesOfCategories(1, &wanted, static_cast<ULONG>(-1), NULL, &classes)))
    {
        CLSID classId;
        ULONG fetched = 0;
        while (!loaded->plugin && classes->Next(1, &classId, &fetched) == S_OK && fetched == 1)
        {
            LogClass("category lists", classId);
            if (SUCCEEDED(CoCreateInstance(classId, NULL, CLSCTX_INPROC_SERVER, IID_IBarPlugin,
                                           reinterpret_cast<void**>(&loaded->plugin))))
                LogClass("created", classId);
        }
        classes->Release();
    }
    categories->Release();
    return loaded->plugin != NULL;
}

BOOL CreatePluginFromDll(const char* path, REFCLSID classId, LoadedPlugin* loaded)
{
    loaded->plugin = NULL;
    loaded->module = LoadLibraryA(path);
    if (!loaded->module)
        return FALSE;
    typedef HRESULT(STDAPICALLTYPE * GetClassObjectEntry)(REFCLSID, REFIID, void**);
    GetClassObjectEntry getClassObject = reinterpret_cast<GetClassObjectEntry>(
        reinterpret_cast<void*>(GetProcAddress(loaded->module, "DllGetClassObject")));
    IClassFactory* factory = NULL;
    if (getClassObject &&
        SUCCEEDED(getClassObject(classId, IID_IClassFactory, reinterpret_cast<void**>(&factory))))
    {
        factory->CreateInstance(NULL, IID_IBarPlugin, reinterpret_cast<void**>(&loaded->plugin));
        factory->Release();
    }
    if (!loaded->plugin)
    {
        FreeLibrary(loaded->module);
        loaded->module = NULL;
        return FALSE;
    }
    LogClass("created from the DLL", classId);
    return TRUE;
}

void ReleasePlugin(LoadedPlugin* loaded)
{
    if (loaded->plugin)
    {
        ULONG left = loaded->plugin->Release();
        HostLog("Release: %lu", static_cast<unsigned long>(left));
        loaded->plugin = NULL;
    }
    if (loaded->module)
    {
        typedef HRESULT(STDAPICALLTYPE * CanUnloadEntry)();
        CanUnloadEntry canUnload = reinterpret_cast<CanUnloadEntry>(
            reinterpret_cast<void*>(GetProcAddress(loaded->module, "DllCanUnloadNow")));
        if (canUnload && canUnload() == S_OK)
        {
            FreeLibrary(loaded->module);
            HostLog("module unloaded");
        }
        loaded->module = NULL;
    }
}
