// The ids the demo host knows, spelled as a host spells them.
#pragma once

#include <windows.h>

extern const CLSID kPagerClassId;
extern const GUID kBarPluginCategory;
