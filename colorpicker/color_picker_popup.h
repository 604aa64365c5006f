// The palette popup of a colour button: 216 colours, a preview swatch, an
// eyedropper outside the popup and a box that leads to the system colour dialog.
#pragma once

#include <windows.h>

#include "colorpicker/color_picker_geometry.h"

extern const char kPopupClassName[];
extern const char kPopupProperty[];

class CColorPickerPopup
{
public:
    CColorPickerPopup();
    virtual ~CColorPickerPopup();

    // Shows the popup below the button, or above it when the monitor has no
    // room below, starting with `colour` selected.
    void Open(HWND button, COLORREF colour);

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    void Paint();
    void DrawPreview();
    void DrawCellFrame(HDC dc, bool restore);
    void SetHoverCell(int column, int row);
    void OnMouseMove(int x, int y);
    void OnLButtonDown(int x, int y);
    static void GetMonitorRect(RECT* out, HWND window);

    COLORREF colors[kPaletteSize];
    HWND hwnd;  // stale after the window is destroyed, until the next opening
    COLORREF selectedColor;
    HWND ownerButton;
    int hoverColumn;
    int hoverRow;
};

// Registers the popup's window class for the module instance, once, and
// takes it away again when the module unloads.
void RegisterPopupClass(HINSTANCE instance);
void UnregisterPopupClass(HINSTANCE instance);
