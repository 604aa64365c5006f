// The bar's tooltip control: one tool per cell of the plug-in, whose text the
// plug-in gives when the tip is about to show.
#pragma once

#include <windows.h>

#include "plugin/bar_interfaces.h"

class CBarTooltips
{
public:
    CBarTooltips();
    void Create(HWND bar);
    // One tool per cell, at the cell rectangles the plug-in answers now.
    void Rebuild(IBarPlugin* plugin);
    // Answers TTN_GETDISPINFOA; FALSE for a notification of another control.
    BOOL OnNotify(IBarPlugin* plugin, NMHDR* header);

private:
    HWND bar;
    HWND tooltip;
    int toolCount;
};
