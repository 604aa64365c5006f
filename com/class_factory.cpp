#include "com/class_factory.h"

#include <new>

#include "plugin/bar_interfaces.h"
#include "plugin/pager_plugin.h"

CClassFactory::CClassFactory(REFCLSID clsid) : refCount(1), classId(clsid) {}

HRESULT STDMETHODCALLTYPE CClassFactory::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = NULL;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IClassFactory))
        return E_NOINTERFACE;
    *ppv = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE CClassFactory::AddRef()
{
    return ++refCount;
}

ULONG STDMETHODCALLTYPE CClassFactory::Release()
{
    if (--refCount == 0)
    {
        this->~CClassFactory();
        ::operator delete(this);
        return 0;
    }
    return refCount;
}

HRESULT STDMETHODCALLTYPE CClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = NULL;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    if (!IsEqualCLSID(classId, CLSID_PagerPlugin))
        return E_FAIL;
    CPagerPlugin* pager = CreatePagerPlugin();
    if (!pager)
        return E_OUTOFMEMORY;
    HRESULT hr = pager->QueryInterface(riid, ppv);
    pager->Release();
    return hr;
}

HRESULT STDMETHODCALLTYPE CClassFactory::LockServer(BOOL)
{
    // Only live objects keep the module loaded.
    return E_NOTIMPL;
}

CClassFactory* CreateClassFactory(REFCLSID clsid)
{
    return new (std::nothrow) CClassFactory(clsid);
}
