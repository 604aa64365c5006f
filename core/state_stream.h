// The pager's state stream: the settings record and the whole desktop table.
// This is the one reader and the one writer of the format.
//
// Layout, all integers 32-bit little-endian, no header magic, no gaps:
// format version, the 60-byte settings record, desktop count, current
// desktop, nine window counts, then every desktop's entries (12 bytes each)
// from desktop 0 to 8. One Read or Write per item, no seeking; a Read is
// judged only by the byte count it reports.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <stdint.h>

#include "core/desktop_table.h"
#include "core/pager_settings.h"

// What a stream holds beyond the settings record.
struct StoredState
{
    int32_t formatVersion;
    bool hasDesktopCount;  // the count word arrived whole
    int32_t desktopCount;
    int32_t currentIndex;
    int32_t windowCounts[kMaxDesktops];
    // Every item from the current desktop on arrived, and every value fits a table.
    bool complete;
    // Entries read whole, in stream order, before the first one that fell short.
    int arrivedEntries;
};

// Reads the version, the settings record and the desktop count. The record
// is read straight into *settings: a short read keeps the former bytes of
// the rest, and a face name without its NUL is cut to 31 characters.
void ReadStateHead(IStream* stream, PagerSettings* settings, StoredState* state);

// Reads the current desktop, the nine counts and the entries, the entries
// into the caller's staging area. Counts that no list can hold are not
// followed into the entries.
void ReadStateLists(IStream* stream, StoredState* state, DesktopLists* staged);

// Loads a stream as the pager does: settings, then the table reset to the
// stored count (or the count in force when the stream ends before it), then,
// when everything arrived, the stored lists. An incomplete stream, and one
// whose current desktop or lists lie at or beyond the count, leaves the table
// empty rather than partly filled. `staged` is the caller's: the stream is
// read without the table lock.
void LoadState(IStream* stream, PagerSettings* settings, CDesktopTable& table, DesktopLists* staged);

// Writes the whole state: all nine desktops, whatever the count, from a
// copy of the table that `staged` (the caller's) takes under the lock; the
// stream is written without it. Stops at the first failing Write and returns
// its result; a short write gives STG_E_MEDIUMFULL.
HRESULT SaveState(IStream* stream, int32_t formatVersion, const PagerSettings& settings, const CDesktopTable& table,
                  DesktopLists* staged);
