// The watcher's side: run by RecoverWindows in its own process, it waits for
// a host process to end and then shows the windows that the host's pagers
// left parked. A host that ended normally has shown them all, so it finds
// none and touches nothing.
#pragma once

#include <windows.h>

// Returns once process `hostId` has ended and its windows are shown.
void WatchHost(DWORD hostId);
