// Starts, once per host process, the watcher that shows the windows the
// host's pagers left parked when the host ends without showing them (killed,
// crashed, ExitProcess): the system's rundll32 running RecoverWindows with the
// watch option and this process's id.
#pragma once

// Cheap after the first call. A watcher that cannot be started is not tried
// again; the switch goes on without it.
void StartHostWatcher();
