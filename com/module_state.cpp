#include "com/module_state.h"

ModuleState g_moduleState;
