#include "core/state_stream.h"

#include <string.h>

static_assert(sizeof(int32_t) == 4, "the stream's words are 32-bit");

namespace {

bool ReadItem(IStream* stream, void* item, ULONG size)
{
    ULONG got = 0;
    stream->Read(item, size, &got);
    return got == size;
}

// Writes item after item until one fails; that first failure is the result.
// A stream that takes fewer bytes than it was given is full.
class CStateWriter
{
public:
    explicit CStateWriter(IStream* target) : stream(target), result(S_OK) {}

    void Put(const void* item, ULONG size)
    {
        if (FAILED(result))
            return;
        ULONG written = 0;
        result = stream->Write(item, size, &written);
        if (SUCCEEDED(result) && written != size)
            result = STG_E_MEDIUMFULL;
    }

    HRESULT Result() const { return result; }

private:
    IStream* stream;
    HRESULT result;
};

// Whether the current desktop lies below the count and the lists beyond it
// are empty, as in every stream this system writes.
bool StaysWithinCount(const StoredState& state, int count)
{
    if (state.currentIndex >= count)
        return false;
    for (int d = count; d < kMaxDesktops; ++d)
    {
        if (state.windowCounts[d] != 0)
            return false;
    }
    return true;
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

void ReadStateLists(IStream* stream, StoredState* state, DesktopLists* staged)
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
                bool whole = ReadItem(stream, &staged->entries[d][k], sizeof(DesktopEntry));
                arriving = arriving && whole;
                if (arriving)
                    ++state->arrivedEntries;
                complete = whole && complete;
            }
        }
    }
    state->complete = complete;
}

void LoadState(IStream* stream, PagerSettings* settings, CDesktopTable& table, DesktopLists* staged)
{
    StoredState state;
    ReadStateHead(stream, settings, &state);
    // A stream that ends before its count keeps the count in force, and no
    // grid has fewer than one cell.
    int count = state.hasDesktopCount ? state.desktopCount : table.Count();
    if (count < 1)
        count = 1;
    if (count > kMaxDesktops)
        count = kMaxDesktops;

    ReadStateLists(stream, &state, staged);
    // A stream that reaches beyond its count is damaged and loads as an
    // incomplete one: a list that no cell reaches would keep its windows
    // hidden until the pager goes.
    if (!state.complete || !StaysWithinCount(state, count))
    {
        table.Reset(count);
        return;
    }
    staged->currentIndex = state.currentIndex;
    memcpy(staged->windowCounts, state.windowCounts, sizeof(staged->windowCounts));
    table.Reset(count, staged);
}

HRESULT SaveState(IStream* stream, int32_t formatVersion, const PagerSettings& settings, const CDesktopTable& table,
                  DesktopLists* staged)
{
    int32_t desktopCount = 0;
    table.Snapshot(staged, &desktopCount);
    CStateWriter writer(stream);
    writer.Put(&formatVersion, sizeof(formatVersion));
    writer.Put(&settings, sizeof(settings));
    writer.Put(&desktopCount, sizeof(desktopCount));
    writer.Put(&staged->currentIndex, sizeof(staged->currentIndex));
    for (int d = 0; d < kMaxDesktops; ++d)
        writer.Put(&staged->windowCounts[d], sizeof(staged->windowCounts[d]));
    for (int d = 0; d < kMaxDesktops && SUCCEEDED(writer.Result()); ++d)
    {
        for (int k = 0; k < staged->windowCounts[d]; ++k)
            writer.Put(&staged->entries[d][k], sizeof(DesktopEntry));
    }
    return writer.Result();
}
