// A memory device context over a 32-bit top-down DIB section whose pixels a
// test reads back after drawing into it.
#pragma once

#include <windows.h>

class DibCanvas
{
public:
    DibCanvas(int width, int height);
    ~DibCanvas();
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;

    HDC dc() const { return memoryDc; }
    int width() const { return canvasWidth; }
    int height() const { return canvasHeight; }

    void Fill(COLORREF colour);
    // The pixel as a COLORREF (0x00BBGGRR); CLR_INVALID outside the canvas.
    COLORREF Pixel(int x, int y) const;
    // How many pixels of the rectangle (clipped to the canvas) have this colour.
    int CountInRect(const RECT& rect, COLORREF colour) const;
    bool SamePixels(const DibCanvas& other) const;

private:
    int canvasWidth;
    int canvasHeight;
    HDC memoryDc;
    HBITMAP bitmap;
    HGDIOBJ previousBitmap;
    DWORD* bits;
};
