#include "core/desktop_table.h"

#include <string.h>

#include "core/parked_mark.h"
#include "core/switch_activation.h"
#include "win/handle32.h"
#include "win/window_shower.h"
#include "win/window_class.h"

CDesktopTable g_desktopTable;

CDesktopTable::CDesktopTable()
{
    currentIndex = 0;
    ClearLists();
    // desktopCount and the three handles keep their static zero.
}

CDesktopTable::~CDesktopTable()
{
    // Shows nothing: by the time the module unloads every pager has restored its windows.
}

void CDesktopTable::ClearLists()
{
    memset(windowCounts, 0, sizeof(windowCounts));
    memset(entries, 0, sizeof(entries));
}

void CDesktopTable::ShowList(int desktop, CWindowShower& shower)
{
    for (int k = windowCounts[desktop] - 1; k >= 0; --k)
    {
        HWND window = WordToHandle(entries[desktop][k].window);
        shower.Apply(window, SW_SHOW);
        ClearParked(window);
    }
}

void CDesktopTable::ShowParkedWindows(ShowWait wait)
{
    CWindowShower shower(wait);
    for (int d = 0; d < kMaxDesktops; ++d)
    {
        if (d != currentIndex)
            ShowList(d, shower);
    }
}

bool CDesktopTable::Reset(int count)
{
    // Windows hidden on other desktops would otherwise stay hidden for good.
    ShowParkedWindows();
    currentIndex = 0;
    if (count > kMaxDesktops)
        count = kMaxDesktops;
    desktopCount = count;
    ClearLists();
    return true;
}

bool CDesktopTable::ChangeCount(int count)
{
    // Callers never ask for fewer than one desktop; keep a damaged value from emptying the grid.
    if (count < 1)
        count = 1;
    if (count == desktopCount)
        return true;
    if (count > kMaxDesktops)
        count = kMaxDesktops;
    if (count >= desktopCount)
    {
        desktopCount = count;
        return true;
    }
    // Shrinking: the windows of the desktops that drop away come back.
    CWindowShower shower;
    for (int j = count; j < desktopCount; ++j)
    {
        ShowList(j, shower);
        windowCounts[j] = 0;
    }
    desktopCount = count;
    return true;
}

BOOL CALLBACK CDesktopTable::CollectSwitchWindow(HWND window, LPARAM)
{
    CDesktopTable& table = g_desktopTable;
    char className[kClassNameSize];
    if (!ReadVisibleClassName(window, className))
        return TRUE;
    if (IsClassName(className, "QuorvaneMenu") || IsClassName(className, "QuorvaneShadow") ||
        IsShellWindowClass(className))
        return TRUE;
    if (window == table.trayWindow || window == table.progmanWindow || window == table.barTopWindow)
        return TRUE;

    int& count = table.windowCounts[table.currentIndex];
    // A full list leaves the surplus unrecorded: those windows stay visible everywhere.
    if (count >= kMaxWindowsPerDesktop)
        return TRUE;
    // Every window recorded here is hidden next.
    MarkParked(window);
    table.entries[table.currentIndex][count].window = HandleToWord(window);
    ++count;
    return TRUE;
}

bool CDesktopTable::SwitchTo(int index, HWND barTop)
{
    if (index < 0 || index >= kMaxDesktops)
        return false;
    if (index == currentIndex)
        return true;
    barTopWindow = barTop;
    trayWindow = FindWindowA("Shell_TrayWnd", NULL);
    progmanWindow = FindWindowA("Progman", NULL);

    windowCounts[currentIndex] = 0;
    EnumWindows(CollectSwitchWindow, 0);

    CWindowShower shower;
    MoveActivationOff(entries[currentIndex], windowCounts[currentIndex], barTop, shower);
    for (int i = 0; i < windowCounts[currentIndex]; ++i)
        shower.Apply(WordToHandle(entries[currentIndex][i].window), SW_HIDE);
    ShowList(index, shower);

    currentIndex = index;
    return true;
}

bool CDesktopTable::RestoreAll()
{
    CWindowShower shower;
    for (int d = 0; d < kMaxDesktops; ++d)
        ShowList(d, shower);
    currentIndex = 0;
    ClearLists();
    return true;
}
