#include "core/switch_activation.h"

#include "win/handle32.h"

void MoveActivationOff(const DesktopEntry* windows, int count, HWND barTop, CWindowShower& shower)
{
    HWND foreground = GetForegroundWindow();
    uint32_t active = HandleToWord(foreground);
    for (int i = 0; i < count; ++i)
    {
        if (windows[i].window == active)
        {
            // The old foreground thread is told to deactivate without being
            // waited on. Its owner is asked before: asked after, it could miss
            // the probe's limit behind that work; its answer, remembered, lets
            // the first hide wait for both.
            shower.Answers(foreground);
            SetForegroundWindow(barTop && IsWindowVisible(barTop) ? barTop : GetDesktopWindow());
            return;
        }
    }
}
