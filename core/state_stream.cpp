// The pager's state stream: settings and the whole desktop table.
#include "plugin/pager_plugin.h"

HRESULT STDMETHODCALLTYPE CPagerPlugin::Load(IStream*)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPagerPlugin::Save(IStream*)
{
    return S_OK;
}
