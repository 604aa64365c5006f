// The colour button's private messages, sent to it by its palette popup.
#pragma once

#include <windows.h>

const UINT CBM_SETCOLOR = WM_USER + 1;     // wParam: the new colour
const UINT CBM_CHOOSECOLOR = WM_USER + 2;  // run the system colour dialog
