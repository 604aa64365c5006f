// Where the palette popup draws and where it answers the mouse. Positions are
// client coordinates; the one-pixel WS_BORDER lies outside them.
#pragma once

#include <windows.h>

const int kPaletteColumns = 18;
const int kPaletteRows = 12;
const int kPaletteSize = kPaletteColumns * kPaletteRows;
const int kPopupWidth = 185;   // border included
const int kPopupHeight = 144;  // border included; also the room needed below the button

// Squares of kSquareSize pixels at a pitch one less, so that neighbours
// share their frame lines.
const int kSquareSize = 11;
const int kSquarePitch = 10;
const int kGridLeft = 1;
const int kGridTop = 20;
// A square answers for the pixels right of its left frame line and from its
// top frame line down; the two bottom rows of the client area belong to none.
const int kGridHitLeft = kGridLeft + 1;
const int kGridHitBottomMargin = 2;

inline RECT PaletteSquareRect(int column, int row)
{
    int left = kGridLeft + kSquarePitch * column;
    int top = kGridTop + kSquarePitch * row;
    RECT rect = {left, top, left + kSquareSize, top + kSquareSize};
    return rect;
}

// The swatch of the selected colour at the top left.
inline RECT PreviewSwatchRect()
{
    RECT rect = {2, 2, 50, 18};
    return rect;
}

// The box at the top right that leads to the system colour dialog.
inline RECT MoreColorsBoxRect(const RECT& client)
{
    RECT rect = {client.right - 18, client.top + 2, client.right - 2, client.top + 18};
    return rect;
}
