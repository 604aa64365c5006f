#include "host/bar_tooltips.h"

#include <commctrl.h>

#include "host/host_log.h"

// The plug-in writes a cell's window titles without knowing the buffer's
// size: room for the longest list it can make (1000 titles of 99 characters,
// each with "* " and a line break).
static char g_tooltipText[1000 * 102 + 1];

CBarTooltips::CBarTooltips() : bar(NULL), tooltip(NULL), toolCount(0)
{
}

void CBarTooltips::Create(HWND barWindow)
{
    bar = barWindow;
    tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, NULL, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, bar, NULL,
                              GetModuleHandleA(NULL), NULL);
    // A width limit makes the control break lines at "\n": one title a line.
    SendMessageA(tooltip, TTM_SETMAXTIPWIDTH, 0, 600);
}

static void FillTool(TOOLINFOA* tool, HWND bar, UINT id)
{
    ZeroMemory(tool, sizeof(*tool));
    tool->cbSize = TTTOOLINFOA_V2_SIZE;
    tool->uFlags = TTF_SUBCLASS;
    tool->hwnd = bar;
    tool->uId = id;
    tool->lpszText = LPSTR_TEXTCALLBACKA;
}

void CBarTooltips::Rebuild(IBarPlugin* plugin)
{
    if (!tooltip)
        return;
    TOOLINFOA tool;
    for (int i = 0; i < toolCount; ++i)
    {
        FillTool(&tool, bar, i);
        SendMessageA(tooltip, TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&tool));
    }
    toolCount = 0;
    int count = 0;
    if (plugin->GetItemInfo(kItemCount, 0, &count) != 0 || count < 0)
        count = 0;
    for (int i = 0; i < count; ++i)
    {
        FillTool(&tool, bar, i);
        plugin->GetItemInfo(kItemRect, i, &tool.rect);
        HostLog("cell %d: %ld,%ld,%ld,%ld", i + 1, tool.rect.left, tool.rect.top, tool.rect.right,
                tool.rect.bottom);
        if (SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)))
            toolCount = i + 1;
    }
}

BOOL CBarTooltips::OnNotify(IBarPlugin* plugin, NMHDR* header)
{
    if (header->hwndFrom != tooltip || header->code != TTN_GETDISPINFOA)
        return FALSE;
    NMTTDISPINFOA* info = reinterpret_cast<NMTTDISPINFOA*>(header);
    g_tooltipText[0] = '\0';
    if (plugin)
        plugin->GetItemInfo(kItemTooltip, static_cast<UINT>(header->idFrom), g_tooltipText);
    HostLog("tooltip of cell %u", static_cast<unsigned>(header->idFrom) + 1);
    info->lpszText = g_tooltipText;
    return TRUE;
}
