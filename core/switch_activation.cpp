#include "core/switch_activation.h"

#include "win/handle32.h"

HWND ChooseForegroundHeir(HWND barTop, bool barVisible, bool barEnabled, LONG barExStyle, HWND shell)
{
    if (barTop && barVisible && barEnabled && !(barExStyle & WS_EX_NOACTIVATE))
        return barTop;
    return shell;
}

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
            bool present = barTop && IsWindow(barTop);
            HWND heir = ChooseForegroundHeir(barTop, present && IsWindowVisible(barTop),
                                             present && IsWindowEnabled(barTop),
                                             present ? GetWindowLongA(barTop, GWL_EXSTYLE) : 0, GetShellWindow());
            // A refused call changes nothing: the hides then activate as they would without it.
            if (heir && heir != foreground)
                SetForegroundWindow(heir);
            return;
        }
    }
}
