#include "core/switch_activation.h"

#include "win/handle32.h"

void MoveActivationOff(const DesktopEntry* windows, int count, HWND barTop)
{
    uint32_t active = HandleToWord(GetForegroundWindow());
    for (int i = 0; i < count; ++i)
    {
        if (windows[i].window == active)
        {
            // The old foreground thread is told to deactivate without being waited on.
            SetForegroundWindow(barTop && IsWindowVisible(barTop) ? barTop : GetDesktopWindow());
            return;
        }
    }
}
