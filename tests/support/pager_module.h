// Loads the built DLL the way a host does and hands out its objects.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include "plugin/bar_interfaces.h"


class PagerModule
{
public:
    PagerModule();   // LoadLibrary("pager.dll") from the test program's folder
    explicit PagerModule(const char* path);
    ~PagerModule();  // FreeLibrary

    HMODULE module() const { return dll; }
    HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** ppv) const;
    HRESULT CanUnloadNow() const;
    HRESULT RegisterServer() const;    // DllRegisterServer
    HRESULT UnregisterServer() const;  // DllUnregisterServer

    // A pager made through the exported factory, or null.
    IBarPlugin* CreatePager() const;

private:
    HMODULE dll;
    HRESULT(STDAPICALLTYPE* getClassObject)(REFCLSID, REFIID, void**);
    HRESULT(STDAPICALLTYPE* canUnloadNow)();
};
