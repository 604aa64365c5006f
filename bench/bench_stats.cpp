#include "bench/bench_stats.h"

#include <windows.h>
#include <stdio.h>

#include <algorithm>

double Now()
{
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

namespace {

bool g_rawOutput = false;

void PrintSamples(const char* side, const std::vector<double>& samples)
{
    fprintf(stderr, "  %s ms:", side);
    for (double sample : samples)
        fprintf(stderr, " %.3f", sample * 1e3);
    fprintf(stderr, "\n");
}

double Quantile(std::vector<double> values, double q)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    double position = q * static_cast<double>(values.size() - 1);
    size_t below = static_cast<size_t>(position);
    size_t above = std::min(below + 1, values.size() - 1);
    double weight = position - static_cast<double>(below);
    return values[below] * (1 - weight) + values[above] * weight;
}

double Median(const std::vector<double>& values)
{
    return Quantile(values, 0.5);
}

// Half the interquartile range, as a share of the median.
double Spread(const std::vector<double>& values)
{
    double median = Median(values);
    return median > 0 ? (Quantile(values, 0.75) - Quantile(values, 0.25)) / 2 / median : 0;
}

// Milliseconds for whole cases, microseconds per unit.
std::string Milliseconds(double seconds)
{
    char text[32];
    snprintf(text, sizeof(text), seconds < 0.01 ? "%.3f" : "%.1f", seconds * 1e3);
    return text;
}

std::string Microseconds(double seconds)
{
    char text[32];
    snprintf(text, sizeof(text), "%.2f", seconds * 1e6);
    return text;
}

// The ratios of the pairs of samples taken next to each other.
std::vector<double> PairRatios(const Comparison& c)
{
    std::vector<double> ratios;
    for (size_t i = 0; i < c.pager.size() && i < c.floor.size(); ++i)
        ratios.push_back(c.floor[i] > 0 ? c.pager[i] / c.floor[i] : 0);
    return ratios;
}

void FormatPart(const Comparison& c, char* text, size_t size)
{
    std::vector<double> ratios = PairRatios(c);
    snprintf(text, size, "%.3f (%.3f-%.3f)", Median(ratios), Quantile(ratios, 0.25), Quantile(ratios, 0.75));
}

void FormatCounts(const MessageCounts& counts, char* text, size_t size)
{
    snprintf(text, size, "%.1f + %.1f / %.1f + %.1f", counts.pagerHidden, counts.pagerShown, counts.floorHidden,
             counts.floorShown);
}

}  // namespace

void SetRawOutput(bool raw)
{
    g_rawOutput = raw;
}

void PrintTableHeader()
{
    printf("| case | N | samples | pager ms | floor ms | ratio | ratio q1-q3 | pager us/unit | floor us/unit "
           "| pager's own us/unit | spread pager / floor | WM_ACTIVATE per switch, hidden + shown, pager / floor "
           "| WM_PAINT per switch, hidden + shown, pager / floor "
           "| WM_PAINT per switch to the hidden before it returns, pager / floor "
           "| ratio to desktop 2 / back to 1 | switches recording < N / windows left wrong "
           "| ratio hide only (q1-q3) | ratio show only (q1-q3) |\n");
    printf("|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
}

void PrintRow(const Row& row)
{
    const Comparison& c = row.samples;
    double pager = Median(c.pager);
    double floor = Median(c.floor);
    std::vector<double> ratios = PairRatios(c);
    // The ratio is the median of the pairs' ratios: the two samples of a pair
    // were taken next to each other, so a slow spell of the machine cancels out.
    double ratio = Median(ratios);
    double units = row.unitsPerSample > 0 ? row.unitsPerSample : 1;
    char activations[64] = "";
    char paints[64] = "";
    char hiddenPaints[32] = "";
    if (row.messagesCounted)
    {
        FormatCounts(row.activations, activations, sizeof(activations));
        FormatCounts(row.paints, paints, sizeof(paints));
        snprintf(hiddenPaints, sizeof(hiddenPaints), "%.1f / %.1f", row.pagerHiddenPaintsInSwitch,
                 row.floorHiddenPaintsInSwitch);
    }
    char directions[32] = "";
    if (row.alternatesDirection)
    {
        std::vector<double> way[2];
        for (size_t i = 0; i < ratios.size(); ++i)
            way[i % 2].push_back(ratios[i]);
        snprintf(directions, sizeof(directions), "%.3f / %.3f", Median(way[1]), Median(way[0]));
    }
    char state[32] = "";
    if (row.stateChecked)
        snprintf(state, sizeof(state), "%d / %d", row.shortSwitches, row.wrongWindows);
    char hide[48] = "";
    char show[48] = "";
    if (row.partsTimed)
    {
        FormatPart(row.hideSamples, hide, sizeof(hide));
        FormatPart(row.showSamples, show, sizeof(show));
    }
    printf("| %s | %d | %u | %s | %s | %.3f | %.3f-%.3f | %s /%s | %s /%s | %s /%s | %.1f%% / %.1f%% | %s | %s | %s "
           "| %s | %s | %s | %s |\n",
           row.name.c_str(), row.count, static_cast<unsigned>(c.pager.size()), Milliseconds(pager).c_str(),
           Milliseconds(floor).c_str(), ratio, Quantile(ratios, 0.25), Quantile(ratios, 0.75),
           Microseconds(pager / units).c_str(), row.unit, Microseconds(floor / units).c_str(), row.unit,
           Microseconds(floor * (ratio - 1) / units).c_str(), row.unit, Spread(c.pager) * 100, Spread(c.floor) * 100,
           activations, paints, hiddenPaints, directions, state, hide, show);
    fflush(stdout);
    if (g_rawOutput)
    {
        fprintf(stderr, "%s, N = %d\n", row.name.c_str(), row.count);
        PrintSamples("pager", c.pager);
        PrintSamples("floor", c.floor);
        if (row.partsTimed)
        {
            PrintSamples("pager hide", row.hideSamples.pager);
            PrintSamples("floor hide", row.hideSamples.floor);
            PrintSamples("pager show", row.showSamples.pager);
            PrintSamples("floor show", row.showSamples.floor);
        }
    }
}
