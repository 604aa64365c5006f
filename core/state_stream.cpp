// The pager's state stream: settings and the whole desktop table.
//
// Layout, all integers 32-bit little-endian: format version, the 60-byte
// settings record, desktop count, current desktop, nine window counts, then
// every desktop's entries (12 bytes each) from desktop 0 to 8. One Read or
// Write per item, no seeking; only the byte counts a Read reports are judged.
#include "plugin/pager_plugin.h"

#include <stdint.h>
#include <string.h>

#include "core/desktop_table.h"

static_assert(sizeof(int) == 4, "the stream's words are 32-bit");

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

HRESULT STDMETHODCALLTYPE CPagerPlugin::Load(IStream* stream)
{
    if (!stream)
        return S_OK;
    CDesktopTable& table = g_desktopTable;

    int32_t version = 0;
    ReadItem(stream, &version, sizeof(version));
    // A short read keeps the former bytes of the rest of the record.
    ReadItem(stream, &settings, sizeof(settings));
    // Everything that reads the face name relies on its NUL.
    if (!memchr(settings.faceName, '\0', sizeof(settings.faceName)))
        settings.faceName[sizeof(settings.faceName) - 1] = '\0';

    int32_t count = 0;
    // A stream that ends before its count keeps the count in force.
    if (!ReadItem(stream, &count, sizeof(count)))
        count = table.desktopCount;
    // No grid has fewer than one cell.
    if (count < 1)
        count = 1;
    table.Reset(count);

    int32_t current = 0;
    bool complete = ReadItem(stream, &current, sizeof(current));
    int32_t counts[kMaxDesktops];
    bool countsFit = true;
    for (int d = 0; d < kMaxDesktops; ++d)
    {
        counts[d] = 0;
        complete = ReadItem(stream, &counts[d], sizeof(counts[d])) && complete;
        countsFit = countsFit && IsWindowCount(counts[d]);
    }
    // A current desktop or a window count that no table can hold marks the stream
    // as damaged: none of it is committed, and counts that do not fit are not
    // followed into the entries.
    if (current < 0 || current >= kMaxDesktops || !countsFit)
        complete = false;
    if (countsFit)
    {
        for (int d = 0; d < kMaxDesktops; ++d)
        {
            for (int k = 0; k < counts[d]; ++k)
                complete = ReadItem(stream, &g_stagedEntries[d][k], sizeof(DesktopEntry)) && complete;
        }
    }
    if (!complete)
        return S_OK;

    table.currentIndex = current;
    for (int d = 0; d < kMaxDesktops; ++d)
    {
        table.windowCounts[d] = counts[d];
        for (int k = 0; k < counts[d]; ++k)
            table.SetEntry(d, k, &g_stagedEntries[d][k]);
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPagerPlugin::Save(IStream* stream)
{
    if (!stream)
        return S_OK;
    const CDesktopTable& table = g_desktopTable;

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
