// The popup's drawing: the palette, the swatch and the hover frame.
#include "colorpicker/color_picker_popup.h"

#include "win/gdi_scope.h"

namespace {

const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);

void DrawRectangle(HDC dc, const RECT& rect)
{
    Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
}

}  // namespace

void CColorPickerPopup::Paint()
{
    CPaintScope paint(hwnd);
    HDC dc = paint.handle();
    CSolidPen black(1, kBlack);
    CSelectedObject pen(dc, black.handle());

    for (int row = 0; row < kPaletteRows; ++row)
    {
        for (int column = 0; column < kPaletteColumns; ++column)
        {
            CSolidBrush fill(colors[column + kPaletteColumns * row]);
            CSelectedObject brush(dc, fill.handle());
            DrawRectangle(dc, PaletteSquareRect(column, row));
        }
    }

    CSelectedObject hollow(dc, GetStockObject(NULL_BRUSH));
    RECT client;
    GetClientRect(hwnd, &client);
    RECT box = MoreColorsBoxRect(client);
    DrawRectangle(dc, box);
    // A solid right-pointing triangle of six vertical lines inside the box.
    for (int k = 0; k < 6; ++k)
    {
        MoveToEx(dc, box.left + 6 + k, box.top + 2 + k, NULL);
        LineTo(dc, box.left + 6 + k, box.bottom - 3 - k);
    }
}

void CColorPickerPopup::DrawPreview()
{
    CWindowDC window(hwnd);
    HDC dc = window.handle();
    CSolidPen black(1, kBlack);
    CSolidBrush fill(selectedColor);
    CSelectedObject pen(dc, black.handle());
    CSelectedObject brush(dc, fill.handle());
    DrawRectangle(dc, PreviewSwatchRect());
}

void CColorPickerPopup::DrawCellFrame(HDC dc, bool restore)
{
    if (hoverColumn < 0 || hoverRow < 0)
        return;
    CSolidPen frame(1, restore ? kBlack : kWhite);
    CSolidBrush fill(colors[hoverColumn + kPaletteColumns * hoverRow]);
    CSelectedObject pen(dc, frame.handle());
    CSelectedObject brush(dc, fill.handle());
    DrawRectangle(dc, PaletteSquareRect(hoverColumn, hoverRow));
}

void CColorPickerPopup::SetHoverCell(int column, int row)
{
    if (column == hoverColumn && row == hoverRow)
        return;
    CWindowDC window(hwnd);
    DrawCellFrame(window.handle(), true);
    hoverColumn = column;
    hoverRow = row;
    DrawCellFrame(window.handle(), false);
}
