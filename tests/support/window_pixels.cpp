#include "support/window_pixels.h"

#include <string.h>

WindowPixels::WindowPixels(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    width = client.right;
    height = client.bottom;
    pixels.assign(static_cast<size_t>(width) * height, 0);
    if (width <= 0 || height <= 0)
        return;

    BITMAPINFO info;
    memset(&info, 0, sizeof(info));
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = NULL;
    HDC windowDc = GetDC(window);
    HDC memoryDc = CreateCompatibleDC(windowDc);
    HBITMAP bitmap = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ previous = SelectObject(memoryDc, bitmap);
    BitBlt(memoryDc, 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
    GdiFlush();
    const DWORD* row = static_cast<const DWORD*>(bits);
    for (size_t i = 0; i < pixels.size(); ++i)
    {
        DWORD bgr = row[i];  // 0x00RRGGBB in a DIB; COLORREF is 0x00BBGGRR
        pixels[i] = RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF);
    }
    SelectObject(memoryDc, previous);
    DeleteObject(bitmap);
    DeleteDC(memoryDc);
    ReleaseDC(window, windowDc);
}

std::vector<POINT> DifferingPoints(const WindowPixels& before, const WindowPixels& after)
{
    std::vector<POINT> points;
    for (int y = 0; y < before.height && y < after.height; ++y)
    {
        for (int x = 0; x < before.width && x < after.width; ++x)
        {
            if (before.At(x, y) != after.At(x, y))
                points.push_back(POINT{x, y});
        }
    }
    return points;
}
