#include "plugin/pager_font.h"

#include <stdint.h>
#include <string.h>

#include "core/desktop_table.h"
#include "win/gdi_scope.h"
#include "core/pager_settings.h"

static_assert(sizeof(LOGFONTA().lfFaceName) == kFaceNameSize, "face name fields match");

CPagerFont::CPagerFont() : cellWidth(0), cellHeight(0), font(NULL)
{
}

CPagerFont::~CPagerFont()
{
    Reset();
}

void CPagerFont::Reset()
{
    if (font)
        DeleteObject(font);
    font = NULL;
    cellWidth = 0;
    cellHeight = 0;
}

void CPagerFont::Create(int height, const PagerSettings* settings)
{
    Reset();
    cellHeight = height;

    LOGFONTA logFont;
    memset(&logFont, 0, sizeof(logFont));
    // Wide arithmetic: any bar height the host hands in scales without overflow.
    logFont.lfHeight = static_cast<LONG>(static_cast<int64_t>(height) * 3 / 4);
    logFont.lfWeight = FW_BOLD;
    logFont.lfCharSet = ANSI_CHARSET;
    logFont.lfOutPrecision = OUT_CHARACTER_PRECIS;
    logFont.lfClipPrecision = 0;
    logFont.lfQuality = ANTIALIASED_QUALITY;
    logFont.lfPitchAndFamily = 0;
    // A face name from a damaged stream may lack its NUL: it is cut to what the field holds.
    memcpy(logFont.lfFaceName, settings->faceName, kFaceNameSize - 1);
    logFont.lfFaceName[kFaceNameSize - 1] = '\0';
    font = CreateFontIndirectA(&logFont);

    SIZE digit = {0, 0};
    {
        CScreenDC screen;
        CSelectedObject selected(screen.handle(), font);
        GetTextExtentPoint32A(screen.handle(), "9", 1, &digit);
    }
    cellWidth = digit.cx + 2;
    if (cellWidth < cellHeight)
        cellWidth = cellHeight;
}

static COLORREF CellColour(int number, bool isCurrent, bool isHovered, const PagerSettings* settings)
{
    if (isHovered)
        return settings->hoverColor;
    if (isCurrent)
        return settings->currentColor;
    int desktop = number - 1;
    if (g_desktopTable.HasWindows(desktop))
        return settings->occupiedColor;
    return settings->emptyColor;
}

void CPagerFont::DrawCell(HDC hdc, int x, int y, int number, bool isCurrent, bool isHovered,
                          const PagerSettings* settings) const
{
    CSelectedObject selectedFont(hdc, font);
    RECT cell = {x, y, x + cellWidth, y + cellHeight};
    char text[16];
    wsprintfA(text, "%d", number);

    CSolidBrush brush(CellColour(number, isCurrent, isHovered, settings));
    CSelectedObject selectedBrush(hdc, brush.handle());
    FillRect(hdc, &cell, brush.handle());
    // The number is always black, whatever text colour the bar uses.
    SetTextColor(hdc, RGB(0, 0, 0));
    DrawTextA(hdc, text, -1, &cell, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}
