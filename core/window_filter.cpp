#include "core/window_filter.h"

#include "core/pinned_mark.h"
#include "win/window_class.h"
#include "win/window_platform.h"

namespace {

struct LeftOutClass
{
    const char* name;
    int lists;
};

const LeftOutClass kLeftOutClasses[] = {
    // The host bar's menu and its shadow come and go with the bar.
    {"QuorvaneMenu", kSwitchList | kLiveList},
    {"QuorvaneShadow", kSwitchList | kLiveList},
    // The shell's windows that belong to no desktop: the taskbars of the
    // other monitors, the wallpaper and icons.
    {"Shell_SecondaryTrayWnd", kSwitchList | kLiveList | kStoredList},
    {"WorkerW", kSwitchList | kLiveList | kStoredList},
    // Pinned windows move with every switch but are on no desktop's list.
    {"wndclass_pinwall_zq", kLiveList | kStoredList},
    // Tooltips on screen; one remembered on another desktop is listed like any window.
    {"tooltips_class32", kLiveList},
    // What the system shows in place of a hung application's window belongs
    // to a process of the system, which refuses our requests; it goes when
    // the application answers again, and its own window comes back where it
    // was. It stays on screen like a window of every desktop.
    {"Ghost", kSwitchList},
};

}  // namespace

bool IsClassLeftOut(WindowListKind list, const char* className)
{
    for (const LeftOutClass& entry : kLeftOutClasses)
    {
        if ((entry.lists & list) && IsClassName(className, entry.name))
            return true;
    }
    return false;
}

CWindowFilter::CWindowFilter(WindowListKind listKind, HWND bar)
    : list(listKind), barTop(listKind == kSwitchList ? bar : NULL), trayWindow(FindWindowA("Shell_TrayWnd", NULL)),
      progmanWindow(FindWindowA("Progman", NULL)), rankedProcess(0), rankedAbove(false)
{
}

// The system refuses to hide such a window: it is never recorded, so it is
// never marked, listed for another desktop or made the active one there.
bool CWindowFilter::OutranksUs(HWND window) const
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    // One answer per process in a row: a program's windows come together.
    if (process != rankedProcess || process == 0)
    {
        rankedProcess = process;
        rankedAbove = WindowPlatform().ProcessOutranksUs(process);
    }
    return rankedAbove;
}

bool CWindowFilter::Takes(HWND window) const
{
    char className[kClassNameSize];
    if (!ReadVisibleClassName(window, className) || IsClassLeftOut(list, className))
        return false;
    if (window == trayWindow || window == progmanWindow || (barTop && window == barTop))
        return false;
    // A window we cannot hide stays on every desktop, as a pinned one does.
    if (list == kSwitchList && (IsPinned(window) || OutranksUs(window)))
        return false;
    // Last: the dearest check, a call into the desktop window manager.
    return !cloak.IsCloaked(window);
}

bool CWindowFilter::TakesStored(HWND window) const
{
    char className[kClassNameSize];
    className[0] = '\0';
    GetClassNameA(window, className, kClassNameSize - 1);
    return !IsClassLeftOut(list, className) && !IsPinned(window) && !cloak.IsCloaked(window);
}
