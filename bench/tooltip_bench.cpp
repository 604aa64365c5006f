// The tooltip text of a desktop with 1000 titled windows, remembered on a
// desktop that is not shown and live on the current one, against the same
// platform calls: the title reads (InternalGetWindowText, which sends no
// message, and the conversion to the ANSI code page) for the lines the host's buffer
// takes, the class reads the listing rule asks for, and, live, the same
// enumeration and filter calls.
#include "bench/bench_cases.h"

#include <stdio.h>
#include <string.h>

#include "bench/bench_pager.h"
#include "bench/bench_stats.h"
#include "bench/bench_windows.h"
#include "bench/floor_enumeration.h"
#include "core/desktop_table.h"
#include "tests/support/table_lists.h"
#include "win/handle32.h"

namespace {

const int kWindows = 1000;
const int kTitleLimit = 100;

char g_text[kTooltipTextSize];

// Room in the host's buffer, counted as the text grows, so that the floor
// stops reading titles where the text stops taking lines.
class CLineBudget
{
public:
    CLineBudget() : used(1), full(false) {}
    bool IsFull() const { return full; }
    void Take(const char* title, bool last)
    {
        size_t line = 2 + strlen(title) + (last ? 0 : 1);
        if (used + line > static_cast<size_t>(kTooltipTextSize))
            full = true;
        else
            used += line;
    }

private:
    size_t used;
    bool full;
};

// A title as the system keeps it, in the ANSI code page.
void FloorReadTitle(HWND window, char (&title)[kTitleLimit])
{
    WCHAR wide[kTitleLimit];
    int length = InternalGetWindowText(window, wide, kTitleLimit);
    int bytes = length > 0 ? WideCharToMultiByte(CP_ACP, 0, wide, length, title, kTitleLimit - 1, NULL, NULL) : 0;
    title[bytes] = '\0';
}

// A title per remembered window, and the class of each titled one.
void FloorReadStored(const std::vector<HWND>& windows)
{
    CWindowFilter filter(kStoredList, NULL);
    CLineBudget budget;
    char title[kTitleLimit];
    int n = static_cast<int>(windows.size());
    for (int i = 0; i < n && !budget.IsFull(); ++i)
    {
        FloorReadTitle(windows[i], title);
        if (!title[0])
            continue;
        if (filter.TakesStored(windows[i]))
            budget.Take(title, i == n - 1);
    }
}

// The live list's enumeration and filter, then a title per accepted window.
class CFloorLiveList
{
public:
    CFloorLiveList() : count(0), enumeration(kLiveList, NULL) {}

    void Read()
    {
        count = 0;
        enumeration.Collect(windows, count);
        CLineBudget budget;
        char title[kTitleLimit];
        for (int i = 0; i < count && !budget.IsFull(); ++i)
        {
            FloorReadTitle(windows[i], title);
            if (title[0])
                budget.Take(title, i == count - 1);
        }
    }
    int count;

private:
    CFloorEnumeration enumeration;
    HWND windows[kMaxWindowsPerDesktop];
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
    CWindowOwner owner(kPagerThread);
    std::vector<HWND> windows = owner.Create(kWindows, "Titled", false);
    CBenchPager pager(40);
    int rounds = options.quick ? 7 : 31;

    // Desktop 1 remembers the thousand windows, as a switch away from them leaves it.
    CTableLists lists;
    lists.SetList(1, windows);
    lists.Put();
    Row stored = TooltipRow("tooltip, remembered desktop");
    stored.samples = Interleave(
        rounds,
        [&](std::vector<double>& samples) {
            samples.push_back(TimeOf([&] { pager->GetItemInfo(kItemTooltip, 1, g_text); }));
        },
        [&](std::vector<double>& samples) { samples.push_back(TimeOf([&] { FloorReadStored(windows); })); });
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
