// What a window shows, read back through a 32-bit DIB section.
#pragma once

#include <windows.h>
#include <vector>

class WindowPixels
{
public:
    // The client area as currently painted.
    explicit WindowPixels(HWND window);

    COLORREF At(int x, int y) const { return pixels[y * width + x]; }
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
};

// The points where two captures of the same window differ.
std::vector<POINT> DifferingPoints(const WindowPixels& before, const WindowPixels& after);
