// The popup's mouse handling: hover, eyedropper and the closing click.
#include "colorpicker/color_picker_popup.h"

#include "colorpicker/color_button_messages.h"
#include "win/gdi_scope.h"

void CColorPickerPopup::OnMouseMove(int x, int y)
{
    RECT client;
    GetClientRect(hwnd, &client);
    POINT point = {x, y};
    if (PtInRect(&client, point))
    {
        if (x >= client.left + kGridHitLeft && y >= client.top + kGridTop && y < client.bottom - kGridHitBottomMargin)
        {
            int column = (x - (client.left + kGridHitLeft)) / kSquarePitch;
            int row = (y - (client.top + kGridTop)) / kSquarePitch;
            if (column >= kPaletteColumns || row >= kPaletteRows)
                return;
            selectedColor = colors[column + kPaletteColumns * row];
            DrawPreview();
            SetHoverCell(column, row);
        }
        else
        {
            SetHoverCell(-1, -1);
        }
        return;
    }

    // Outside the popup (the capture delivers it): the eyedropper.
    MapWindowPoints(hwnd, NULL, &point, 1);
    {
        CScreenDC screen;
        COLORREF pixel = GetPixel(screen.handle(), point.x, point.y);
        // A point that cannot be read is no colour to hand to the button.
        if (pixel != CLR_INVALID)
            selectedColor = pixel;
        DrawPreview();
    }
    SetHoverCell(-1, -1);
}

void CColorPickerPopup::OnLButtonDown(int x, int y)
{
    RECT client;
    GetClientRect(hwnd, &client);
    RECT box = MoreColorsBoxRect(client);
    POINT point = {x, y};
    // Returns once the button has handled it, the colour dialog included:
    // the popup lives on until then.
    if (PtInRect(&box, point))
        SendMessageA(ownerButton, CBM_CHOOSECOLOR, selectedColor, 0);
    else
        SendMessageA(ownerButton, CBM_SETCOLOR, selectedColor, 0);
    DestroyWindow(hwnd);
}
