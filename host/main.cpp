// The demo host: shows one bar plug-in in a bar of its own, as the host bar does.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <stdlib.h>

#include "host/demo_bar.h"
#include "host/host_log.h"
#include "host/host_options.h"
#include "host/plugin_loader.h"

static int Fail(const char* message)
{
    HostLog("error: %s", message);
    MessageBoxA(NULL, message, kDemoBarTitle, MB_OK | MB_ICONERROR);
    return 1;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    HostOptions options;
    char error[256];
    if (!ParseHostOptions(__argc, __argv, &options, error, sizeof(error)))
    {
        char message[1024];
        wsprintfA(message, "%s\n\n%s", error, kHostUsage);
        return Fail(message);
    }
    if (options.logPath)
        OpenHostLog(options.logPath);

    // The plug-in's settings dialog uses the up-down control, which the host
    // process registers.
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_UPDOWN_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    CoInitialize(NULL);

    int exitCode = 0;
    LoadedPlugin loaded = {NULL, NULL};
    BOOL created = options.dllPath ? CreatePluginFromDll(options.dllPath, options.classId, &loaded)
                                   : CreateRegisteredPlugin(&loaded);
    if (!created)
        exitCode = Fail(options.dllPath ? "The DLL does not create the plug-in class."
                                        : "No plug-in is registered in the bar's category "
                                          "(register one with regsvr32, or name a DLL with --dll).");
    else
    {
        CDemoBar bar(&loaded, options.statePath, options.barHeight);
        if (!bar.Create(instance))
        {
            ReleasePlugin(&loaded);
            exitCode = Fail("The bar window cannot be created.");
        }
        else
        {
            MSG message;
            while (GetMessageA(&message, NULL, 0, 0) > 0)
            {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
            // Closing the bar has released it already; a loop ended otherwise has not.
            ReleasePlugin(&loaded);
        }
    }
    CoFreeUnusedLibraries();
    CoUninitialize();
    HostLog("exit %d", exitCode);
    CloseHostLog();
    return exitCode;
}
