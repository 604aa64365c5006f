// Running an entry point of this module in a process of its own, through the
// system's rundll32, so that it outlives the caller's process tree.
#pragma once

#include <windows.h>

// Starts "<system folder>\rundll32.exe" "<module path>",<entry and arguments>
// with wide-character calls (any path), no handle inherited, in the system
// folder (holding none of the caller's folders open), out of the caller's job
// where the job allows it. False when it could not be started.
bool RunModuleEntry(HINSTANCE module, const wchar_t* entryAndArguments);
