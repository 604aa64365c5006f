// Tooltip texts: the titles of a desktop's windows, one per line.
#include "plugin/pager_plugin.h"

void CPagerPlugin::GetTooltipText(UINT, char* text)
{
    text[0] = '\0';
}
