#include "core/switch_activation.h"

#include "win/handle32.h"

void MoveActivationOff(const uint32_t* windows, int count, HWND barTop, CWindowShower& shower)
{
    HWND foreground = GetForegroundWindow();
    uint32_t active = HandleToWord(foreground);
    for (int i = 0; i < count; ++i)
    {
        if (windows[i] == active)
        {
            // The owner is asked first (within the limit), so that the
            // deactivation it then runs does not count against the first hide.
            shower.Answers(foreground);
            SetForegroundWindow(barTop && IsWindowVisible(barTop) ? barTop : GetDesktopWindow());
            return;
        }
    }
}
