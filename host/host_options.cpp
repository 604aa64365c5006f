#include "host/host_options.h"

#include <objbase.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "plugin/bar_interfaces.h"

const char kHostUsage[] =
    "demo_host [--dll PATH [--clsid {CLSID}]] [--state PATH] [--log PATH] [--height PIXELS]\n"
    "Without --dll the host creates the first class registered in the bar's plug-in category.";

static BOOL ParseClassId(const char* text, CLSID* classId)
{
    WCHAR wide[64];
    if (!MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 64))
        return FALSE;
    return SUCCEEDED(CLSIDFromString(wide, classId));
}

BOOL ParseHostOptions(int argc, char** argv, HostOptions* options, char* error, int errorSize)
{
    options->dllPath = NULL;
    options->classId = CLSID_PagerPlugin;
    options->statePath = "pager-state.bin";
    options->logPath = NULL;
    options->barHeight = 32;
    for (int i = 1; i < argc; ++i)
    {
        const char* name = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : NULL;
        if (!value)
        {
            snprintf(error, errorSize, "%s needs a value", name);
            return FALSE;
        }
        ++i;
        if (strcmp(name, "--dll") == 0)
            options->dllPath = value;
        else if (strcmp(name, "--state") == 0)
            options->statePath = value;
        else if (strcmp(name, "--log") == 0)
            options->logPath = value;
        else if (strcmp(name, "--clsid") == 0)
        {
            if (!ParseClassId(value, &options->classId))
            {
                snprintf(error, errorSize, "not a class id: %s", value);
                return FALSE;
            }
        }
        else if (strcmp(name, "--height") == 0)
        {
            options->barHeight = atoi(value);
            if (options->barHeight < 8 || options->barHeight > 400)
            {
                snprintf(error, errorSize, "the height must lie between 8 and 400 pixels");
                return FALSE;
            }
        }
        else
        {
            snprintf(error, errorSize, "unknown option %s", name);
            return FALSE;
        }
    }
    return TRUE;
}
