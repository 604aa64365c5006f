// The demo host's trace: one line per call into the plug-in and per site call,
// written to the file given with --log (nothing is written without it).
#pragma once

void OpenHostLog(const char* path);
void CloseHostLog();
void HostLog(const char* format, ...);
