// A dialog's push button turned into a colour well: it shows its colour,
// opens the palette popup on a left press, and tells its parent (WM_COMMAND,
// BN_CLICKED) whenever the colour is set.
#pragma once

#include <windows.h>

#include "colorpicker/color_button_messages.h"
#include "colorpicker/color_picker_popup.h"

extern const char kColorButtonProperty[];

class CColorButton
{
public:
    CColorButton();
    // Leaves the control subclassed: keep the object until the control is gone.
    virtual ~CColorButton();

    // Once per object, while the dialog initialises.
    void Attach(HWND button, COLORREF initial);

    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    void Paint();
    void ChooseCustomColor();
    void OpenPalette();

    HWND hwnd;
    WNDPROC prevWndProc;
    COLORREF color;
    CColorPickerPopup popup;

private:
    void NotifyParent();
};
