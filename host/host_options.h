// The demo host's command line.
#pragma once

#include <windows.h>

struct HostOptions
{
    const char* dllPath;    // --dll PATH: load this DLL instead of searching the category
    CLSID classId;          // --clsid {...}: the class to create from --dll (default: the pager)
    const char* statePath;  // --state PATH: the plug-in's state file
    const char* logPath;    // --log PATH: trace of the calls into the plug-in
    int barHeight;          // --height N: height of the bar in pixels
};

// FALSE, with a message in `error`, when the command line cannot be used.
BOOL ParseHostOptions(int argc, char** argv, HostOptions* options, char* error, int errorSize);

extern const char kHostUsage[];
