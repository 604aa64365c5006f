// Unit test programs stand in for the module: their own instance holds the
// dialog templates and the popup class, as the DLL's does after process
// attach. They also play the host process, which registers the common controls.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "colorpicker/color_picker_popup.h"
#include "win/module.h"

inline void UseTestProgramAsModule()
{
    SetModuleInstance(GetModuleHandleA(NULL));
    RegisterPopupClass(ModuleInstance());
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
}
