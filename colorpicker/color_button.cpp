// The colour button's subclassing, messages and system colour dialog.
#include "colorpicker/color_button.h"

#include <commdlg.h>
#include <string.h>

const char kColorButtonProperty[] = "CColorButtonThis";

CColorButton::CColorButton() : hwnd(NULL), prevWndProc(NULL), color(RGB(0, 0, 255))
{
}

CColorButton::~CColorButton()
{
}

void CColorButton::Attach(HWND button, COLORREF initial)
{
    color = initial;
    hwnd = button;
    SetPropA(button, kColorButtonProperty, this);
    prevWndProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
}

void CColorButton::NotifyParent()
{
    WPARAM id = MAKEWPARAM(LOWORD(GetDlgCtrlID(hwnd)), BN_CLICKED);
    SendMessageA(GetParent(hwnd), WM_COMMAND, id, reinterpret_cast<LPARAM>(hwnd));
}

void CColorButton::OpenPalette()
{
    popup.Open(hwnd, color);
}

void CColorButton::ChooseCustomColor()
{
    // Fresh every time: colours defined in the dialog are not kept.
    COLORREF customColors[16] = {};
    CHOOSECOLORA choose;
    memset(&choose, 0, sizeof(choose));
    choose.lStructSize = sizeof(choose);
    choose.hwndOwner = hwnd;
    choose.rgbResult = color;
    choose.lpCustColors = customColors;
    choose.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR;
    if (!ChooseColorA(&choose))
        return;
    color = choose.rgbResult;
    InvalidateRect(hwnd, NULL, TRUE);
    NotifyParent();
}

LRESULT CALLBACK CColorButton::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CColorButton* self =
        IsWindow(window) ? static_cast<CColorButton*>(GetPropA(window, kColorButtonProperty)) : NULL;
    if (!self)
        return DefWindowProcA(window, message, wParam, lParam);

    // The standard button never sees the mouse or paints: it would show a
    // pressed or hot state and take the focus.
    switch (message)
    {
    case WM_PAINT:
        self->Paint();
        return 1;
    case WM_NCHITTEST:
        return HTCLIENT;
    case WM_UPDATEUISTATE:
        return 1;
    case WM_MOUSEMOVE:
        return 0;
    case WM_LBUTTONDOWN:
        self->OpenPalette();
        return 1;
    case CBM_SETCOLOR:
        self->color = static_cast<COLORREF>(wParam);
        self->NotifyParent();
        InvalidateRect(window, NULL, TRUE);
        break;
    case CBM_CHOOSECOLOR:
        self->ChooseCustomColor();
        break;
    case WM_NCDESTROY:
    {
        // The control's last message: it gets back its own procedure and loses the property.
        WNDPROC previous = self->prevWndProc;
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        RemovePropA(window, kColorButtonProperty);
        return CallWindowProcA(previous, window, message, wParam, lParam);
    }
    }
    return CallWindowProcA(self->prevWndProc, window, message, wParam, lParam);
}
