// The benchmark's cases; each prints its rows as it finishes them.
#pragma once

struct BenchOptions
{
    bool quick;     // fewer samples and no N = 1000, for a look in a minute
    int largestN;   // the largest window count of the switch rows
};

void RunSwitchCases(const BenchOptions& options);
void RunStreamCases(const BenchOptions& options);
void RunPaintCase(const BenchOptions& options);
void RunTooltipCases(const BenchOptions& options);
void RunKeyCases(const BenchOptions& options);
