// Starts, once per host process, the watcher that shows the windows the
// host's pagers left parked when the host ends without showing them (killed,
// crashed, ExitProcess, its whole process tree ended): this module's
// RecoverWindows in the system's rundll32, watching this process's id. It is
// started through a launcher that starts it and exits at once, so that the
// watcher has no living parent and is no part of the host's process tree.
#pragma once

#include <windows.h>

// The options of RecoverWindows: "/launch <host id>" starts the watcher,
// "/watch <host id>" is the watcher.
extern const char kLaunchOption[];
extern const char kWatchOption[];

// Cheap after the first call. Called with no lock held: it starts a process.
// A watcher that cannot be started is not tried again; the pager goes on
// without it.
void StartHostWatcher();

// The launcher's work, in its own process.
void LaunchWatcher(DWORD hostId);
