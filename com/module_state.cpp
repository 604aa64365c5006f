#include "com/module_state.h"

ModuleState g_moduleState;

// {C2E600FF-9292-45B6-9AA3-E15276A9B27B}
const CLSID CLSID_PagerPlugin =
    {0xC2E600FF, 0x9292, 0x45B6, {0x9A, 0xA3, 0xE1, 0x52, 0x76, 0xA9, 0xB2, 0x7B}};

const char kPagerDescription[] = "Virtual Desktop";
