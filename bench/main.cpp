// The pager's benchmark: each case against the platform calls it cannot
// avoid, timed in the same run, printed as a table of medians.
//
//   pager_bench [--quick] [--raw] [--largest N] [switch] [stream] [paint] [tooltip] [keys]
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "bench/bench_cases.h"
#include "bench/bench_stats.h"

int main(int argc, char** argv)
{
    BenchOptions options = {false, 1000};
    bool any = false, runSwitch = false, runStream = false, runPaint = false, runTooltip = false, runKeys = false;
    for (int i = 1; i < argc; ++i)
    {
        if (!strcmp(argv[i], "--quick"))
            options.quick = true;
        else if (!strcmp(argv[i], "--raw"))
            SetRawOutput(true);
        else if (!strcmp(argv[i], "--largest") && i + 1 < argc)
            options.largestN = atoi(argv[++i]);
        else if (!strcmp(argv[i], "switch"))
            any = runSwitch = true;
        else if (!strcmp(argv[i], "stream"))
            any = runStream = true;
        else if (!strcmp(argv[i], "paint"))
            any = runPaint = true;
        else if (!strcmp(argv[i], "tooltip"))
            any = runTooltip = true;
        else if (!strcmp(argv[i], "keys"))
            any = runKeys = true;
        else
        {
            fprintf(stderr, "usage: pager_bench [--quick] [--raw] [--largest N] [switch] [stream] [paint] [tooltip] [keys]\n");
            return 2;
        }
    }
    if (options.quick && options.largestN > 100)
        options.largestN = 100;
    if (!any)
        runSwitch = runStream = runPaint = runTooltip = runKeys = true;

    PrintTableHeader();
    if (runStream)
        RunStreamCases(options);
    if (runPaint)
        RunPaintCase(options);
    if (runTooltip)
        RunTooltipCases(options);
    if (runSwitch)
        RunSwitchCases(options);
    if (runKeys)
        RunKeyCases(options);
    return 0;
}
