// Save and Load of a full table (9 desktops of 1000 windows) through a memory
// stream, against the same Write and Read calls, of the same sizes, made
// directly on the same stream.
#include "bench/bench_cases.h"

#include <objbase.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include "bench/bench_pager.h"
#include "bench/bench_stats.h"
#include "core/desktop_table.h"
#include "tests/support/table_lists.h"

namespace {

const int kEntries = kMaxDesktops * kMaxWindowsPerDesktop;
// One Save or Load takes well under a millisecond: a sample sums several.
const int kCallsPerSample = 20;

// What the floor writes and reads: the words and records of a state stream.
struct FloorState
{
    int32_t version;
    PagerSettings settings;
    int32_t count;
    int32_t current;
    int32_t counts[kMaxDesktops];
    DesktopEntry entries[kEntries];
};
FloorState g_floorState;

void Rewind(IStream* stream)
{
    LARGE_INTEGER start;
    start.QuadPart = 0;
    stream->Seek(start, STREAM_SEEK_SET, NULL);
}

// Hands each item of the state, in stream order, to `transfer` (a Write or a Read).
template <typename Transfer>
void ForEachItem(Transfer transfer)
{
    FloorState& s = g_floorState;
    transfer(&s.version, 4);
    transfer(&s.settings, sizeof(s.settings));
    transfer(&s.count, 4);
    transfer(&s.current, 4);
    for (int d = 0; d < kMaxDesktops; ++d)
        transfer(&s.counts[d], 4);
    for (int i = 0; i < kEntries; ++i)
        transfer(&s.entries[i], sizeof(DesktopEntry));
}

void FloorSave(IStream* stream)
{
    ULONG done = 0;
    ForEachItem([&](void* item, ULONG size) { stream->Write(item, size, &done); });
}

void FloorLoad(IStream* stream)
{
    ULONG done = 0;
    ForEachItem([&](void* item, ULONG size) { stream->Read(item, size, &done); });
}

// The time of kCallsPerSample calls of `call`, each after an untimed `prepare`.
template <typename Prepare, typename Call>
double TimeCalls(Prepare prepare, Call call)
{
    double total = 0;
    for (int i = 0; i < kCallsPerSample; ++i)
    {
        prepare();
        total += TimeOf(call);
    }
    return total;
}

// Every desktop full, with words that name no window: nothing here is shown.
void FillTable()
{
    g_desktopTable.ChangeCount(kMaxDesktops);
    CTableLists lists;
    for (int d = 0; d < kMaxDesktops; ++d)
    {
        for (int k = 0; k < kMaxWindowsPerDesktop; ++k)
            lists.Entry(d, k) = {0x7A000000u + 2u * static_cast<uint32_t>(d * kMaxWindowsPerDesktop + k), 0, 0};
        lists.SetWindowCount(d, kMaxWindowsPerDesktop);
    }
    lists.Put();
}

bool TableIsFull()
{
    CTableLists lists;
    for (int d = 0; d < kMaxDesktops; ++d)
    {
        if (lists.Windows(d) != kMaxWindowsPerDesktop)
            return false;
    }
    return lists.Count() == kMaxDesktops;
}

}  // namespace

void RunStreamCases(const BenchOptions& options)
{
    CBenchPager pager(40);
    FillTable();
    IStream* stream = NULL;
    if (FAILED(CreateStreamOnHGlobal(NULL, TRUE, &stream)))
    {
        fprintf(stderr, "no memory stream\n");
        return;
    }
    // The first save grows the stream; every later one writes over the same bytes.
    pager->Save(stream);
    Rewind(stream);
    FloorLoad(stream);
    int rounds = options.quick ? 7 : 31;

    Row save;
    save.name = "Save, 9 desktops full, 20 saves per sample";
    save.count = kEntries;
    save.unit = "entry";
    save.unitsPerSample = kEntries * kCallsPerSample;
    auto rewind = [&] { Rewind(stream); };
    save.samples = Interleave(
        rounds,
        [&](std::vector<double>& samples) { samples.push_back(TimeCalls(rewind, [&] { pager->Save(stream); })); },
        [&](std::vector<double>& samples) { samples.push_back(TimeCalls(rewind, [&] { FloorSave(stream); })); });
    PrintRow(save);

    Row load;
    load.name = "Load, 9 desktops full, 20 loads per sample";
    load.count = kEntries;
    load.unit = "entry";
    load.unitsPerSample = kEntries * kCallsPerSample;
    // Into an empty table, as a host loads right after creating the pager.
    auto rewindAndForget = [&] {
        ForgetAllWindows();
        Rewind(stream);
    };
    load.samples = Interleave(
        rounds,
        [&](std::vector<double>& samples) {
            samples.push_back(TimeCalls(rewindAndForget, [&] { pager->Load(stream); }));
        },
        [&](std::vector<double>& samples) { samples.push_back(TimeCalls(rewind, [&] { FloorLoad(stream); })); });
    if (!TableIsFull())
        fprintf(stderr, "Load did not restore the full table\n");
    PrintRow(load);

    stream->Release();
    ForgetAllWindows();
}
