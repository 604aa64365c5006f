#include "support/pager_module.h"

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
    if (FAILED(getClassObject(CLSID_PagerPlugin, IID_IClassFactory, reinterpret_cast<void**>(&factory))))
        return NULL;
    IBarPlugin* pager = NULL;
    factory->CreateInstance(NULL, IID_IBarPlugin, reinterpret_cast<void**>(&pager));
    factory->Release();
    return pager;
}
