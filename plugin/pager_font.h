// The cell font and cell size of the current grid layout.
#pragma once

#include <windows.h>

struct PagerSettings;

class CPagerFont
{
public:
    CPagerFont();
    virtual ~CPagerFont();

    void Reset();
    void Create(int height, const PagerSettings* settings);
    void DrawCell(HDC hdc, int x, int y, int number, bool isCurrent, bool isHovered,
                  const PagerSettings* settings) const;

    int cellWidth;
    int cellHeight;
    HFONT font;
};
