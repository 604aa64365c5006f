#include "support/dib_canvas.h"

#include <string.h>

DibCanvas::DibCanvas(int width, int height)
    : canvasWidth(width), canvasHeight(height), memoryDc(NULL), bitmap(NULL), previousBitmap(NULL), bits(NULL)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down: row 0 first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = NULL;
    memoryDc = CreateCompatibleDC(NULL);
    bitmap = CreateDIBSection(memoryDc, &info, DIB_RGB_COLORS, &pixels, NULL, 0);
    bits = static_cast<DWORD*>(pixels);
    previousBitmap = SelectObject(memoryDc, bitmap);
}

DibCanvas::~DibCanvas()
{
    SelectObject(memoryDc, previousBitmap);
    DeleteObject(bitmap);
    DeleteDC(memoryDc);
}

void DibCanvas::Fill(COLORREF colour)
{
    GdiFlush();
    DWORD pixel = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    for (int i = 0; i < canvasWidth * canvasHeight; ++i)
        bits[i] = pixel;
}

bool DibCanvas::SamePixels(const DibCanvas& other) const
{
    GdiFlush();
    return canvasWidth == other.canvasWidth && canvasHeight == other.canvasHeight &&
           memcmp(bits, other.bits, sizeof(DWORD) * canvasWidth * canvasHeight) == 0;
}

COLORREF DibCanvas::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= canvasWidth || y >= canvasHeight)
        return CLR_INVALID;
    GdiFlush();
    DWORD pixel = bits[y * canvasWidth + x];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

int DibCanvas::CountInRect(const RECT& rect, COLORREF colour) const
{
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
    {
        for (int x = rect.left; x < rect.right; ++x)
        {
            if (Pixel(x, y) == colour)
                ++count;
        }
    }
    return count;
}
