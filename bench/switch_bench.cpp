// A switch between two desktops of N visible windows each, clicked through the
// pager, against its floor: the same enumeration with the same filter calls,
// and the same ShowWindow calls made directly.
#include "bench/bench_cases.h"

#include <stdio.h>
#include <string.h>

#include "bench/bench_pager.h"
#include "bench/bench_stats.h"
#include "bench/bench_windows.h"
#include "core/desktop_table.h"
#include "core/handle32.h"

namespace {

// Two desktops and nothing else: what any switch has to ask of the platform.
class CFloorSwitch
{
public:
    CFloorSwitch() : trayWindow(NULL), progmanWindow(NULL), barTopWindow(NULL), current(0)
    {
        counts[0] = counts[1] = 0;
    }

    void Seed(int desktop, int current_, const CDesktopTable& table)
    {
        current = current_;
        counts[desktop] = table.windowCounts[desktop];
        for (int k = 0; k < counts[desktop]; ++k)
            lists[desktop][k] = WordToHandle(table.entries[desktop][k].window);
    }

    void SwitchTo(int target)
    {
        trayWindow = FindWindowA("Shell_TrayWnd", NULL);
        progmanWindow = FindWindowA("Progman", NULL);
        counts[current] = 0;
        EnumWindows(Collect, reinterpret_cast<LPARAM>(this));
        for (int i = 0; i < counts[current]; ++i)
            ShowWindow(lists[current][i], SW_HIDE);
        for (int k = counts[target] - 1; k >= 0; --k)
            ShowWindow(lists[target][k], SW_SHOW);
        current = target;
    }

private:
    static BOOL CALLBACK Collect(HWND window, LPARAM param)
    {
        CFloorSwitch& self = *reinterpret_cast<CFloorSwitch*>(param);
        if (!IsWindowVisible(window))
            return TRUE;
        char className[200];
        GetClassNameA(window, className, 199);
        if (!strcmp(className, "QuorvaneMenu") || !strcmp(className, "QuorvaneShadow"))
            return TRUE;
        if (window == self.trayWindow || window == self.progmanWindow || window == self.barTopWindow)
            return TRUE;
        int& count = self.counts[self.current];
        if (count < kMaxWindowsPerDesktop)
            self.lists[self.current][count++] = window;
        return TRUE;
    }

    HWND trayWindow;
    HWND progmanWindow;
    HWND barTopWindow;
    HWND lists[2][kMaxWindowsPerDesktop];
    int counts[2];
    int current;
};

int RoundsFor(int n, bool quick)
{
    int rounds = n <= 10 ? 30 : n <= 100 ? 10 : 3;
    return quick ? (rounds + 2) / 3 : rounds;
}

void RunSwitchCase(int n, bool ownThread, bool quick)
{
    CWindowOwner owner(ownThread);
    CBenchPager pager(40);
    static CFloorSwitch floorSwitch;

    // Desktop 0 gets N windows by switching away from them, desktop 1 the next N.
    owner.Create(n, "Parked", true);
    pager.Click(1);
    owner.Create(n, "Shown", true);
    PumpPending();
    if (g_desktopTable.windowCounts[0] != n)
        fprintf(stderr, "switch setup: desktop 0 holds %d windows, not %d\n", g_desktopTable.windowCounts[0], n);

    // One untimed round trip each: every window has been hidden and shown (mapped) once.
    pager.Click(0);
    PumpPending();
    pager.Click(1);
    PumpPending();
    floorSwitch.Seed(0, 1, g_desktopTable);
    floorSwitch.SwitchTo(0);
    PumpPending();
    floorSwitch.SwitchTo(1);
    PumpPending();

    auto timed = [](std::vector<double>& samples, auto action) {
        samples.push_back(TimeOf(action));
        PumpPending();
    };
    Row row;
    row.name = ownThread ? "switch, windows of the pager's thread" : "switch, windows of another thread";
    row.count = n;
    row.unit = "window";
    row.unitsPerSample = n;
    row.samples = Interleave(
        RoundsFor(n, quick),
        [&](std::vector<double>& samples) {
            timed(samples, [&] { pager.Click(0); });
            timed(samples, [&] { pager.Click(1); });
        },
        [&](std::vector<double>& samples) {
            timed(samples, [&] { floorSwitch.SwitchTo(0); });
            timed(samples, [&] { floorSwitch.SwitchTo(1); });
        });
    if (g_desktopTable.windowCounts[0] != n || g_desktopTable.windowCounts[1] != n)
        fprintf(stderr, "switch: the desktops hold %d and %d windows, not %d\n", g_desktopTable.windowCounts[0],
                g_desktopTable.windowCounts[1], n);
    PrintRow(row);
    // The windows go first, so that releasing the pager shows nothing.
    ForgetAllWindows();
}

}  // namespace

void RunSwitchCases(const BenchOptions& options)
{
    for (int ownThread = 1; ownThread >= 0; --ownThread)
    {
        for (int n = 10; n <= options.largestN; n *= 10)
            RunSwitchCase(n, ownThread != 0, options.quick);
    }
}
