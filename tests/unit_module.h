// Unit test programs stand in for the module: their own instance holds the
// dialog templates and the popup class, as the DLL's does after process
// attach. They also play the host process, which registers the common controls.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "colorpicker/color_picker_popup.h"
#include "com/module_state.h"

inline void UseTestProgramAsModule()
{
    g_moduleState.moduleInstance = GetModuleHandleA(NULL);
    RegisterPopupClass(g_moduleState.moduleInstance);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
}
