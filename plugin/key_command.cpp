// What a key does: the moves between the grid's cells, sending and carrying
// the active window, and pinning it.
#include "plugin/pager_plugin.h"

#include "core/desktop_table.h"
#include "core/key_commands.h"
#include "core/pinned_mark.h"
#include "core/window_filter.h"
#include "plugin/pager_call.h"

namespace {

// The desktop a step of the grid leads to, in reading order and by rows,
// without wrapping at the ends; -1 past an edge.
int StepTarget(int step, int current, int count, int columns)
{
    int target = current;
    switch (step)
    {
    case kNextDesktop:
        target = current + 1;
        break;
    case kPreviousDesktop:
        target = current - 1;
        break;
    case kDesktopBelow:
        target = current + columns;
        break;
    case kDesktopAbove:
        target = current - columns;
        break;
    }
    return target >= 0 && target < count ? target : -1;
}

// The window the user works in: an owned window (a dialog) stands for the
// window that owns it.
HWND ActiveApplicationWindow()
{
    HWND active = GetForegroundWindow();
    return active ? GetAncestor(active, GA_ROOTOWNER) : NULL;
}

}  // namespace

void CPagerPlugin::RunKeyCommand(int command)
{
    CPagerCall call(*this);
    int current = g_desktopTable.Current();
    int count = g_desktopTable.Count();
    int columns;
    {
        CLockScope guard(lock);
        columns = columnsInUse > 0 ? columnsInUse : 1;
    }
    if (command < kCarryToNextDesktop)
        MoveToDesktop(StepTarget(command, current, count, columns), NULL, kSwitchDesktop);
    else if (command < kGoToDesktop1)
    {
        int step = command - kCarryToNextDesktop + kNextDesktop;
        MoveToDesktop(StepTarget(step, current, count, columns), ActiveApplicationWindow(), kCarryWindow);
    }
    else if (command < kSendToDesktop1)
        MoveToDesktop(command - kGoToDesktop1, NULL, kSwitchDesktop);
    else if (command < kPinWindow)
        MoveToDesktop(command - kSendToDesktop1, ActiveApplicationWindow(), kSendWindow);
    else if (HWND window = ActiveApplicationWindow())
    {
        // Only a window on screen that a switch would take can be pinned;
        // unpinned, it stays on this desktop.
        HWND bar = NULL;
        {
            CLockScope guard(lock);
            bar = site ? site->GetBarWindow() : NULL;
        }
        if (IsPinned(window))
            SetPinned(window, false);
        else if (bar && CWindowFilter(kSwitchList, FindTopLevel(bar)).Takes(window))
            SetPinned(window, true);
    }
}
