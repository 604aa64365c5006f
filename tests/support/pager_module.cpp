#include "support/pager_module.h"

// The ids as a host spells them, independent of the module's own definitions.
const CLSID kPagerClsid = {0xC2E600FF, 0x9292, 0x45B6, {0x9A, 0xA3, 0xE1, 0x52, 0x76, 0xA9, 0xB2, 0x7B}};
const IID kBarPluginIid = {0xAB1982DF, 0x9DA2, 0x4FB4, {0x96, 0x95, 0xF2, 0x3F, 0xB1, 0xF6, 0xE8, 0x5F}};

PagerModule::PagerModule() : PagerModule("pager.dll")
{
}

PagerModule::PagerModule(const char* path)
{
    dll = LoadLibraryA(path);
    getClassObject = dll ? reinterpret_cast<decltype(getClassObject)>(
                               reinterpret_cast<void*>(GetProcAddress(dll, "DllGetClassObject")))
                         : NULL;
    canUnloadNow = dll ? reinterpret_cast<decltype(canUnloadNow)>(
                             reinterpret_cast<void*>(GetProcAddress(dll, "DllCanUnloadNow")))
                       : NULL;
}

PagerModule::~PagerModule()
{
    if (dll)
        FreeLibrary(dll);
}

HRESULT PagerModule::GetClassObject(REFCLSID clsid, REFIID iid, void** ppv) const
{
    return getClassObject(clsid, iid, ppv);
}

HRESULT PagerModule::CanUnloadNow() const
{
    return canUnloadNow();
}

static HRESULT CallExport(HMODULE dll, const char* name)
{
    HRESULT(STDAPICALLTYPE * entry)() =
        reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
    return entry ? entry() : E_NOTIMPL;
}

HRESULT PagerModule::RegisterServer() const
{
    return CallExport(dll, "DllRegisterServer");
}

HRESULT PagerModule::UnregisterServer() const
{
    return CallExport(dll, "DllUnregisterServer");
}

IBarPlugin* PagerModule::CreatePager() const
{
    IClassFactory* factory = NULL;
    if (FAILED(getClassObject(kPagerClsid, IID_IClassFactory, reinterpret_cast<void**>(&factory))))
        return NULL;
    IBarPlugin* pager = NULL;
    factory->CreateInstance(NULL, kBarPluginIid, reinterpret_cast<void**>(&pager));
    factory->Release();
    return pager;
}
