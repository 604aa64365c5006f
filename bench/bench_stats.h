// Timing samples of the pager and of its floor, their medians and spreads,
// and the table row that reports them.
#pragma once

#include <string>
#include <vector>

// Seconds on the performance counter.
double Now();

template <typename Action>
double TimeOf(Action action)
{
    double start = Now();
    action();
    return Now() - start;
}

// Both sides of one case; sample i of the pager and of the floor were taken
// next to each other.
struct Comparison
{
    std::vector<double> pager;
    std::vector<double> floor;
};

// Runs each side `rounds` times, alternating which goes first, so that a slow
// spell of the machine falls on both. Each call appends its own samples.
template <typename PagerSide, typename FloorSide>
Comparison Interleave(int rounds, PagerSide pagerSide, FloorSide floorSide)
{
    Comparison result;
    for (int round = 0; round < rounds; ++round)
    {
        if (round % 2 == 0)
        {
            pagerSide(result.pager);
            floorSide(result.floor);
        }
        else
        {
            floorSide(result.floor);
            pagerSide(result.pager);
        }
    }
    return result;
}

// Messages of one kind per switch received by the windows it hides and by
// those it shows.
struct MessageCounts
{
    double pagerHidden, pagerShown;
    double floorHidden, floorShown;
};

struct Row
{
    std::string name;
    int count;              // N: windows per desktop, entries, paints...
    const char* unit;       // what the per-unit columns divide by
    int unitsPerSample;
    Comparison samples;
    // Switch rows: WM_ACTIVATE and WM_PAINT per switch, and the WM_PAINT that
    // the windows being hidden receive before the switch returns.
    bool messagesCounted = false;
    MessageCounts activations = {0, 0, 0, 0};
    MessageCounts paints = {0, 0, 0, 0};
    double pagerHiddenPaintsInSwitch = 0, floorHiddenPaintsInSwitch = 0;
    // Switch rows: switches that recorded fewer than N windows (or any off an
    // empty desktop), and windows left visible or hidden against their
    // desktop after a switch.
    bool stateChecked = false;
    int shortSwitches = 0;
    int wrongWindows = 0;
    // Switch rows: samples alternate between a switch to desktop 0 and one to
    // desktop 1, and each way gets a ratio of its own as well.
    bool alternatesDirection = false;
    // Switch rows: the hide alone (a switch to an empty desktop) and the show
    // alone (one back from it), pager against floor.
    bool partsTimed = false;
    Comparison hideSamples;
    Comparison showSamples;
};

void PrintTableHeader();
void PrintRow(const Row& row);
// Every row's samples, in the order taken, to stderr as well.
void SetRawOutput(bool raw);
