// Finding and creating the bar's plug-in, as the host does.
#pragma once

#include <windows.h>

#include "plugin/bar_interfaces.h"

struct LoadedPlugin
{
    IBarPlugin* plugin;
    HMODULE module;  // set when the DLL was loaded by path, for FreeLibrary at the end
};

// The first class registered in the bar's plug-in category that creates an
// IBarPlugin through CoCreateInstance.
BOOL CreateRegisteredPlugin(LoadedPlugin* loaded);

// A class of the DLL at `path`, created through its exported DllGetClassObject.
BOOL CreatePluginFromDll(const char* path, REFCLSID classId, LoadedPlugin* loaded);

// Releases the plug-in and, for a DLL loaded by path, unloads it when it allows.
void ReleasePlugin(LoadedPlugin* loaded);
