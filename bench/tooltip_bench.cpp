// The tooltip text of a desktop with 1000 titled windows, remembered on a
// desktop that is not shown and live on the current one, against the same
// GetWindowTextA calls (and, live, the same enumeration and filter calls).
#include "bench/bench_cases.h"

#include <stdio.h>
#include <string.h>

#include "bench/bench_pager.h"
#include "bench/bench_stats.h"
#include "bench/bench_windows.h"
#include "core/desktop_table.h"
#include "core/handle32.h"

namespace {

const int kWindows = 1000;
const int kTitleLimit = 100;

char g_text[kTooltipTextSize];

void FloorReadTitles(const std::vector<HWND>& windows)
{
    char title[kTitleLimit];
    for (HWND window : windows)
        GetWindowTextA(window, title, kTitleLimit);
}

// The live list's enumeration and filter, then a title per accepted window.
class CFloorLiveList
{
public:
    void Read()
    {
        trayWindow = FindWindowA("Shell_TrayWnd", NULL);
        progmanWindow = FindWindowA("Progman", NULL);
        count = 0;
        EnumWindows(Collect, reinterpret_cast<LPARAM>(this));
        char title[kTitleLimit];
        for (int i = 0; i < count; ++i)
            GetWindowTextA(windows[i], title, kTitleLimit);
    }
    int count;

private:
    static BOOL CALLBACK Collect(HWND window, LPARAM param)
    {
        CFloorLiveList& self = *reinterpret_cast<CFloorLiveList*>(param);
        if (!IsWindowVisible(window))
            return TRUE;
        char className[200];
        GetClassNameA(window, className, 199);
        if (!strcmp(className, "QuorvaneMenu") || !strcmp(className, "QuorvaneShadow") ||
            !strcmp(className, "wndclass_pinwall_zq") || !strcmp(className, "tooltips_class32"))
            return TRUE;
        if (window == self.trayWindow || window == self.progmanWindow)
            return TRUE;
        if (self.count < kWindows)
            self.windows[self.count++] = window;
        return TRUE;
    }

    HWND trayWindow;
    HWND progmanWindow;
    HWND windows[kWindows];
};
CFloorLiveList g_floorLiveList;

Row TooltipRow(const char* name)
{
    Row row;
    row.name = name;
    row.count = kWindows;
    row.unit = "window";
    row.unitsPerSample = kWindows;
    return row;
}

void CheckText(const char* what)
{
    if (strncmp(g_text, "* Titled ", 9) != 0)
        fprintf(stderr, "%s tooltip starts with \"%.40s\"\n", what, g_text);
}

}  // namespace

void RunTooltipCases(const BenchOptions& options)
{
    CWindowOwner owner(true);
    std::vector<HWND> windows = owner.Create(kWindows, "Titled", false);
    CBenchPager pager(40);
    int rounds = options.quick ? 7 : 31;

    // Desktop 1 remembers the thousand windows, as a switch away from them leaves it.
    for (int k = 0; k < kWindows; ++k)
    {
        DesktopEntry entry = {HandleToWord(windows[k]), 0, 0};
        g_desktopTable.SetEntry(1, k, &entry);
    }
    g_desktopTable.windowCounts[1] = kWindows;
    Row stored = TooltipRow("tooltip, remembered desktop");
    stored.samples = Interleave(
        rounds,
        [&](std::vector<double>& samples) {
            samples.push_back(TimeOf([&] { pager->GetItemInfo(kItemTooltip, 1, g_text); }));
        },
        [&](std::vector<double>& samples) { samples.push_back(TimeOf([&] { FloorReadTitles(windows); })); });
    CheckText("remembered desktop's");
    PrintRow(stored);
    ForgetAllWindows();

    // The same windows on screen, on the current desktop.
    CWindowOwner::MarkVisible(windows);
    Row live = TooltipRow("tooltip, current desktop");
    live.samples = Interleave(
        rounds,
        [&](std::vector<double>& samples) {
            samples.push_back(TimeOf([&] { pager->GetItemInfo(kItemTooltip, 0, g_text); }));
        },
        [&](std::vector<double>& samples) { samples.push_back(TimeOf([&] { g_floorLiveList.Read(); })); });
    CheckText("current desktop's");
    if (g_floorLiveList.count != kWindows)
        fprintf(stderr, "the floor's live list holds %d windows\n", g_floorLiveList.count);
    PrintRow(live);
}
