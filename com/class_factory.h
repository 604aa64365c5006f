// The class factory of the pager. It has no virtual destructor: Release
// runs the destructor directly and frees the memory.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include "win/module.h"

class CClassFactory : public IClassFactory
{
public:
    explicit CClassFactory(REFCLSID clsid);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    CModuleReference moduleReference;  // keeps the module loaded while the factory lives
    LONG refCount;
    CLSID classId;
};

// Allocates and constructs a factory; null when memory is exhausted.
CClassFactory* CreateClassFactory(REFCLSID clsid);
