// State streams for tests, built word by word as the pager lays them out:
// version, 60-byte settings, desktop count, current desktop, nine window
// counts, then the entries of desktops 0 to 8.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <vector>

#include "core/desktop_table.h"
#include "core/pager_settings.h"

typedef std::vector<unsigned char> Bytes;

void Put32(Bytes& bytes, uint32_t word);
void Set32(Bytes& bytes, size_t offset, uint32_t word);

// The default settings record, spelled out field by field.
Bytes DefaultSettingsBytes();
Bytes SettingsBytes(const PagerSettings& settings);
// Settings that differ from the defaults in every field (3 columns, 7 desktops, "Courier New").
PagerSettings OtherSettings();

struct StoredDesktop
{
    int index;
    std::vector<DesktopEntry> entries;
};

Bytes BuildStream(const Bytes& settings, int32_t count, int32_t current, const std::vector<StoredDesktop>& desktops);

// Window words that name no window of the session, so that showing them does nothing.
const uint32_t kNoWindow1 = 0x7ABC0010;
const uint32_t kNoWindow2 = 0x7ABC0012;
const uint32_t kNoWindow3 = 0x7ABC0014;

// OtherSettings, 7 desktops, desktop 5 current; desktops 0, 2 and 5 hold 2, 1
// and 3 entries of the windows above.
Bytes SampleStream();
const size_t kSampleLength = 108 + 12 * 6;
