// The popup's drawing: the palette, the swatch and the hover frame.
#include "colorpicker/color_picker_popup.h"

#include "plugin/gdi_scope.h"

namespace {

const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);
const int kPitch = 10;      // squares share their frame lines
const int kGridLeft = 1;
const int kGridTop = 20;
const int kSquareSize = 11;

RECT SquareRect(int column, int row)
{
    RECT rect = {kGridLeft + kPitch * column, kGridTop + kPitch * row,
                 kGridLeft + kPitch * column + kSquareSize, kGridTop + kPitch * row + kSquareSize};
    return rect;
}

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
            DrawRectangle(dc, SquareRect(column, row));
        }
    }

    CSelectedObject hollow(dc, GetStockObject(NULL_BRUSH));
    RECT client;
    GetClientRect(hwnd, &client);
    Rectangle(dc, client.right - 18, client.top + 2, client.right - 2, client.top + 18);
    for (int k = 0; k < 6; ++k)
    {
        MoveToEx(dc, client.right - 12 + k, client.top + 4 + k, NULL);
        LineTo(dc, client.right - 12 + k, client.top + 15 - k);
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
    Rectangle(dc, 2, 2, 50, 18);
}

void CColorPickerPopup::DrawCellFrame(HDC dc, bool restore)
{
    if (hoverColumn < 0 || hoverRow < 0)
        return;
    CSolidPen frame(1, restore ? kBlack : kWhite);
    CSolidBrush fill(colors[hoverColumn + kPaletteColumns * hoverRow]);
    CSelectedObject pen(dc, frame.handle());
    CSelectedObject brush(dc, fill.handle());
    DrawRectangle(dc, SquareRect(hoverColumn, hoverRow));
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
