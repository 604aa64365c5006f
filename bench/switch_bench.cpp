// A switch between two desktops of N visible windows each, clicked through the
// pager, against its floor: the cheapest platform sequence with the same
// visible result, one enumeration with the same filter calls, then ShowWindow
// on each window, bottom-most first when hiding, so that no hide activates a
// window that is hidden next. For windows of another process the hide and
// the show are also timed apart: a switch to an empty desktop only hides, and
// one back from it only shows.
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

// Desktops 0 and 1 hold batches 0 and 1; desktop 2 holds nothing.
const int kSwitchDesktops = 3;
const int kEmptyDesktop = 2;

// Three desktops and nothing else: what any switch has to ask of the platform.
class CFloorSwitch
{
public:
    CFloorSwitch() : enumeration(kSwitchList, NULL), current(0)
    {
        for (int d = 0; d < kSwitchDesktops; ++d)
            counts[d] = 0;
    }

    int Recorded(int desktop) const { return counts[desktop]; }

    // Takes over the screen as the pager's last switch left it.
    void TakeOver()
    {
        CTableLists table;
        current = table.Current();
        for (int d = 0; d < kSwitchDesktops; ++d)
        {
            if (d == current)
                continue;
            counts[d] = table.Windows(d);
            for (int k = 0; k < counts[d]; ++k)
                lists[d][k] = table.Window(d, k);
        }
    }

    // Hands the screen back to the pager as this switch left it.
    void HandOver() const
    {
        CTableLists table;
        table.SetCurrent(current);
        for (int d = 0; d < kSwitchDesktops; ++d)
        {
            if (d != current)
                table.SetList(d, std::vector<HWND>(lists[d], lists[d] + counts[d]));
        }
        table.Put();
    }

    void SwitchTo(int target)
    {
        counts[current] = 0;
        enumeration.Collect(lists[current], counts[current]);
        for (int i = counts[current] - 1; i >= 0; --i)
            ShowWindow(lists[current][i], SW_HIDE);
        for (int k = counts[target] - 1; k >= 0; --k)
            ShowWindow(lists[target][k], SW_SHOW);
        current = target;
    }

private:
    CFloorEnumeration enumeration;
    HWND lists[kSwitchDesktops][kMaxWindowsPerDesktop];
    int counts[kSwitchDesktops];
    int current;
};
CFloorSwitch g_floorSwitch;

enum Side
{
    kPager,
    kFloor
};

struct Step
{
    Side side;
    int target;
};

// The pager and the floor switch in turn, each from where the other left the
// screen, so that the samples of a pair are taken next to each other. Every
// round switches each side both ways; odd rounds start with the floor.
const Step kRounds[2][4] = {
    {{kPager, 0}, {kFloor, 1}, {kFloor, 0}, {kPager, 1}},
    {{kFloor, 0}, {kPager, 1}, {kPager, 0}, {kFloor, 1}},
};

// The same from desktop 1 to the empty desktop and back: each side hides
// batch 1 once and shows it once. Like a round, it ends on desktop 1.
const Step kPartRounds[2][4] = {
    {{kPager, kEmptyDesktop}, {kFloor, 1}, {kFloor, kEmptyDesktop}, {kPager, 1}},
    {{kFloor, kEmptyDesktop}, {kPager, 1}, {kPager, kEmptyDesktop}, {kFloor, 1}},
};

// A switch of 1000 windows takes Wine 6 to 10 s (a hide and a show cost it
// some 6 to 9 ms a window, as at N = 10), so N = 1000 gets four rounds: eight
// samples a side, four in each direction. Rows that time the hide and the
// show apart add a part round to each round, half a round's work.
int RoundsFor(int n, bool quick)
{
    int rounds = n <= 10 ? 30 : n <= 100 ? 10 : 4;
    return quick ? (rounds + 2) / 3 : rounds;
}

// WM_ACTIVATE and WM_PAINT of one side's switches: [0] the windows hidden,
// [1] those shown, and the paints of the hidden received before a switch returned.
struct SideCounts
{
    LONG activations[2];
    LONG paints[2];
    LONG hiddenPaintsInSwitch;
};

class CSwitchCase
{
public:
    CSwitchCase(int n, WindowOwnerKind kind, BatchLayout layout)
        : windows(n), owner(kind), pager(40), shortSwitches(0), wrongWindows(0)
    {
        // Desktop 0 gets N windows by switching away from them, desktop 1 the next N.
        batches[0] = owner.Create(n, "Parked", true, layout);
        pager.Click(1);
        batches[1] = owner.Create(n, "Shown", true, layout);
        owner.WaitUntilIdle();
        g_floorSwitch.TakeOver();
        StartCounting();
    }

    ~CSwitchCase()
    {
        // Forgotten first, so that releasing the pager shows nothing; the owner destroys the windows.
        ForgetAllWindows();
    }

    // One switch of one side; the other side then takes over the screen.
    double Switch(const Step& step)
    {
        // Desktop d holds the windows of batch d; the board's counts of
        // batch 2, that no window has, stand for the empty desktop's.
        int hidden = g_desktopTable.Current();
        LONG activations[2] = {owner.Activations(hidden), owner.Activations(step.target)};
        LONG paints[2] = {owner.Paints(hidden), owner.Paints(step.target)};
        double time = 0;
        LONG hiddenPaints = 0;
        if (step.side == kPager)
        {
            time = TimeOf([&] { pager.Click(step.target); });
            hiddenPaints = owner.Paints(hidden) - paints[0];
            g_floorSwitch.TakeOver();
        }
        else
        {
            time = TimeOf([&] { g_floorSwitch.SwitchTo(step.target); });
            hiddenPaints = owner.Paints(hidden) - paints[0];
            g_floorSwitch.HandOver();
        }
        owner.WaitUntilIdle();
        // The message counts are those of the switches between two batches.
        if (hidden != kEmptyDesktop && step.target != kEmptyDesktop)
        {
            SideCounts& side = counts[step.side];
            side.activations[0] += owner.Activations(hidden) - activations[0];
            side.activations[1] += owner.Activations(step.target) - activations[1];
            side.paints[0] += owner.Paints(hidden) - paints[0];
            side.paints[1] += owner.Paints(step.target) - paints[1];
            side.hiddenPaintsInSwitch += hiddenPaints;
        }
        // Fewer than N means an owner did not answer in time and its windows
        // moved later; more than none off the empty desktop, a stray window.
        if (g_floorSwitch.Recorded(hidden) != (hidden == kEmptyDesktop ? 0 : windows))
            ++shortSwitches;
        for (int b = 0; b < 2; ++b)
            wrongWindows += CountWrong(batches[b], b == step.target);
        return time;
    }

    void Round(int round, Comparison& samples)
    {
        double times[2][2];
        for (const Step& step : kRounds[round % 2])
            times[step.side][step.target] = Switch(step);
        for (int target = 0; target < 2; ++target)
        {
            samples.pager.push_back(times[kPager][target]);
            samples.floor.push_back(times[kFloor][target]);
        }
    }

    // Batch 1 hidden alone, then shown alone, by each side.
    void PartRound(int round, Comparison& hides, Comparison& shows)
    {
        for (const Step& step : kPartRounds[round % 2])
        {
            Comparison& samples = step.target == kEmptyDesktop ? hides : shows;
            (step.side == kPager ? samples.pager : samples.floor).push_back(Switch(step));
        }
    }

    // Counts and checks the switches from now on.
    void StartCounting()
    {
        memset(counts, 0, sizeof(counts));
        shortSwitches = wrongWindows = 0;
    }

    void Report(Row& row) const
    {
        double switches = static_cast<double>(row.samples.pager.size());
        const SideCounts& p = counts[kPager];
        const SideCounts& f = counts[kFloor];
        row.activations = {p.activations[0] / switches, p.activations[1] / switches, f.activations[0] / switches,
                           f.activations[1] / switches};
        row.paints = {p.paints[0] / switches, p.paints[1] / switches, f.paints[0] / switches, f.paints[1] / switches};
        row.pagerHiddenPaintsInSwitch = p.hiddenPaintsInSwitch / switches;
        row.floorHiddenPaintsInSwitch = f.hiddenPaintsInSwitch / switches;
        row.messagesCounted = true;
        row.shortSwitches = shortSwitches;
        row.wrongWindows = wrongWindows;
        row.stateChecked = true;
    }

private:
    // The windows of a batch whose visibility is not `visible`.
    static int CountWrong(const std::vector<HWND>& batch, BOOL visible)
    {
        int wrong = 0;
        for (HWND window : batch)
        {
            if (!IsWindowVisible(window) != !visible)
                ++wrong;
        }
        return wrong;
    }

    int windows;
    CWindowOwner owner;
    CBenchPager pager;
    std::vector<HWND> batches[2];
    SideCounts counts[2];
    int shortSwitches;
    int wrongWindows;
};

const char* const kOwnerNames[] = {"switch, windows of the pager's thread", "switch, windows of another thread",
                                   "switch, windows of another process"};

void RunSwitchCase(int n, WindowOwnerKind kind, BatchLayout layout, bool quick)
{
    CSwitchCase switchCase(n, kind, layout);
    Row row;
    row.name = layout == kOverlappedLayout ? "switch, overlapped windows of another process" : kOwnerNames[kind];
    row.count = n;
    row.unit = "window";
    row.unitsPerSample = n;
    row.alternatesDirection = true;
    // The hide and the show apart, where the pager's show differs most from the floor's.
    row.partsTimed = kind == kOtherProcess;
    // One untimed round: every window has been hidden and shown once by each side.
    Comparison warmUp;
    switchCase.Round(0, warmUp);
    if (row.partsTimed)
        switchCase.PartRound(0, warmUp, warmUp);
    switchCase.StartCounting();
    for (int round = 0; round < RoundsFor(n, quick); ++round)
    {
        switchCase.Round(round, row.samples);
        if (row.partsTimed)
            switchCase.PartRound(round, row.hideSamples, row.showSamples);
    }
    switchCase.Report(row);
    if (row.shortSwitches || row.wrongWindows)
        fprintf(stderr, "%s, N = %d: %d switches recorded other than their desktop's windows, %d windows left wrong\n",
                row.name.c_str(), n, row.shortSwitches, row.wrongWindows);
    PrintRow(row);
}

}  // namespace

void RunSwitchCases(const BenchOptions& options)
{
    for (WindowOwnerKind kind : {kPagerThread, kOtherThread, kOtherProcess})
    {
        for (int n = 10; n <= options.largestN; n *= 10)
            RunSwitchCase(n, kind, kTiledLayout, options.quick);
    }
    // Windows that cover each other, as on a desktop: a hide may uncover, and
    // a show cover, a window of the same switch.
    for (int n = 10; n <= options.largestN; n *= 10)
        RunSwitchCase(n, kOtherProcess, kOverlappedLayout, options.quick);
}
