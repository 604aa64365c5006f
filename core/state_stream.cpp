#include "core/state_stream.h"

#include <string.h>

static_assert(sizeof(int32_t) == 4, "the stream's words are 32-bit");

namespace {

// A load's entries wait here until the whole stream has arrived.
DesktopEntry g_stagedEntries[kMaxDesktops][kMaxWindowsPerDesktop];

bool ReadItem(IStream* stream, void* item, ULONG size)
{
    ULONG got = 0;
    stream->Read(item, size, &got);
    return got == size;
}

void WriteItem(IStream* stream, const void* item, ULONG size)
{
    ULONG written = 0;
    stream->Write(item, size, &written);
}

}  // namespace

void ReadStateHead(IStream* stream, PagerSettings* settings, StoredState* state)
{
    state->formatVersion = 0;
    ReadItem(stream, &state->formatVersion, sizeof(state->formatVersion));
    ReadItem(stream, settings, sizeof(*settings));
    // Everything that reads the face name relies on its NUL.
    if (!memchr(settings->faceName, '\0', sizeof(settings->faceName)))
        settings->faceName[sizeof(settings->faceName) - 1] = '\0';
    state->desktopCount = 0;
    state->hasDesktopCount = ReadItem(stream, &state->desktopCount, sizeof(state->desktopCount));
}

void ReadStateLists(IStream* stream, StoredState* state)
{
    state->currentIndex = 0;
    state->arrivedEntries = 0;
    bool complete = ReadItem(stream, &state->currentIndex, sizeof(state->currentIndex));
    bool countsFit = true;
    for (int d = 0; d < kMaxDesktops; ++d)
    {
        state->windowCounts[d] = 0;
        complete = ReadItem(stream, &state->windowCounts[d], sizeof(state->windowCounts[d])) && complete;
        countsFit = countsFit && IsWindowCount(state->windowCounts[d]);
    }
    // A current desktop or a window count that no table can hold marks the
    // stream as damaged, and counts that do not fit are not followed.
    if (state->currentIndex < 0 || state->currentIndex >= kMaxDesktops || !countsFit)
        complete = false;
    if (countsFit)
    {
        bool arriving = true;
        for (int d = 0; d < kMaxDesktops; ++d)
        {
            // A short read does not end the loop: every planned read is made.
            for (int k = 0; k < state->windowCounts[d]; ++k)
            {
                bool whole = ReadItem(stream, &g_stagedEntries[d][k], sizeof(DesktopEntry));
                arriving = arriving && whole;
                if (arriving)
                    ++state->arrivedEntries;
                complete = whole && complete;
            }
        }
    }
    state->complete = complete;
}

const DesktopEntry& StagedEntry(int desktop, int position)
{
    return g_stagedEntries[desktop][position];
}

void LoadState(IStream* stream, PagerSettings* settings, CDesktopTable& table)
{
    StoredState state;
    ReadStateHead(stream, settings, &state);
    // A stream that ends before its count keeps the count in force, and no
    // grid has fewer than one cell.
    int count = state.hasDesktopCount ? state.desktopCount : table.desktopCount;
    if (count < 1)
        count = 1;
    table.Reset(count);

    ReadStateLists(stream, &state);
    if (!state.complete)
        return;
    table.currentIndex = state.currentIndex;
    for (int d = 0; d < kMaxDesktops; ++d)
    {
        table.windowCounts[d] = state.windowCounts[d];
        for (int k = 0; k < state.windowCounts[d]; ++k)
            table.SetEntry(d, k, &g_stagedEntries[d][k]);
    }
}

HRESULT SaveState(IStream* stream, int32_t formatVersion, const PagerSettings& settings, const CDesktopTable& table)
{
    WriteItem(stream, &formatVersion, sizeof(formatVersion));
    WriteItem(stream, &settings, sizeof(settings));
    WriteItem(stream, &table.desktopCount, sizeof(table.desktopCount));
    WriteItem(stream, &table.currentIndex, sizeof(table.currentIndex));
    for (int d = 0; d < kMaxDesktops; ++d)
        WriteItem(stream, &table.windowCounts[d], sizeof(table.windowCounts[d]));
    for (int d = 0; d < kMaxDesktops; ++d)
    {
        for (int k = 0; k < table.windowCounts[d]; ++k)
        {
            DesktopEntry entry;
            table.GetEntry(d, k, &entry);
            WriteItem(stream, &entry, sizeof(entry));
        }
    }
    return S_OK;
}
