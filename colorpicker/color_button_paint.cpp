// The colour button's look: a raised frame filled with its colour and a
// drop-arrow box in the bottom-right corner.
#include "colorpicker/color_button.h"

#include "win/gdi_scope.h"

namespace {

void Line(HDC dc, int x1, int y1, int x2, int y2)
{
    MoveToEx(dc, x1, y1, NULL);
    LineTo(dc, x2, y2);
}

}  // namespace

void CColorButton::Paint()
{
    CPaintScope paint(hwnd);
    HDC dc = paint.handle();
    CSolidPen darkShadow(1, GetSysColor(COLOR_3DDKSHADOW));
    CSolidPen face(1, GetSysColor(COLOR_BTNFACE));
    CSolidPen highlight(1, GetSysColor(COLOR_BTNHIGHLIGHT));
    CSolidPen arrow(1, GetSysColor(COLOR_BTNTEXT));
    CSolidBrush fill(color);
    CSolidBrush faceFill(GetSysColor(COLOR_BTNFACE));

    RECT client;
    GetClientRect(hwnd, &client);
    const int L = client.left, T = client.top, R = client.right, B = client.bottom;
    FillRect(dc, &client, fill.handle());

    CSelectedObject pen(dc, highlight.handle());  // the context's own pen comes back at the end
    // Raised outer edge; the shadow runs on R and B, just past the client area.
    Line(dc, L, B, L, T);
    LineTo(dc, R, T);
    SelectObject(dc, darkShadow.handle());
    LineTo(dc, R, B);
    LineTo(dc, L, B);
    // A face-coloured ring, then a sunken ring inside it.
    SelectObject(dc, face.handle());
    Line(dc, L + 1, B - 1, L + 1, T + 1);
    LineTo(dc, R - 1, T + 1);
    LineTo(dc, R - 1, B - 1);
    LineTo(dc, L + 1, B - 1);
    SelectObject(dc, darkShadow.handle());
    Line(dc, L + 2, B - 2, L + 2, T + 2);
    LineTo(dc, R - 2, T + 2);
    SelectObject(dc, highlight.handle());
    LineTo(dc, R - 2, B - 2);
    LineTo(dc, L + 2, B - 2);

    // Drop-arrow box and its downward triangle, 5, 3 and 1 pixels wide.
    Line(dc, R - 8, B - 2, R - 8, B - 6);
    LineTo(dc, R - 2, B - 6);
    RECT box = {R - 7, B - 5, R - 1, B - 1};
    FillRect(dc, &box, faceFill.handle());
    SelectObject(dc, arrow.handle());
    Line(dc, R - 6, B - 4, R - 1, B - 4);
    Line(dc, R - 5, B - 3, R - 2, B - 3);
    Line(dc, R - 4, B - 2, R - 3, B - 2);
}
