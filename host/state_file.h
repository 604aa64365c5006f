// The plug-in's state kept in a file, handed over as an IStream on that file.
#pragma once

#include "plugin/bar_interfaces.h"

// Hands the file to Load; a missing or empty file is no saved state and is
// not handed over.
void LoadStateFile(IBarPlugin* plugin, const char* path);

// Save into a file beside `path`, then put it in place, so that an
// interrupted or failed save never leaves a cut state file.
void SaveStateFile(IBarPlugin* plugin, const char* path);
