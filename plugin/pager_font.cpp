#include "plugin/pager_font.h"

#include "plugin/pager_settings.h"

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
