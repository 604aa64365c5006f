#include "support/state_stream_bytes.h"

#include <string.h>

void Put32(Bytes& bytes, uint32_t word)
{
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<unsigned char>(word >> (8 * i)));
}

void Set32(Bytes& bytes, size_t offset, uint32_t word)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<unsigned char>(word >> (8 * i));
}

Bytes DefaultSettingsBytes()
{
    Bytes bytes;
    Put32(bytes, 60);
    Put32(bytes, 2);
    Put32(bytes, 4);
    Put32(bytes, 0x00FFFF00);
    Put32(bytes, 0x00808080);
    Put32(bytes, 0x00D3D3D3);
    Put32(bytes, 0x00FFFFFF);
    const char face[32] = "Tahoma";
    bytes.insert(bytes.end(), face, face + sizeof(face));
    return bytes;
}

Bytes SettingsBytes(const PagerSettings& settings)
{
    const unsigned char* raw = reinterpret_cast<const unsigned char*>(&settings);
    return Bytes(raw, raw + sizeof(settings));
}

Bytes BuildStream(const Bytes& settings, int32_t count, int32_t current, const std::vector<StoredDesktop>& desktops)
{
    Bytes bytes;
    Put32(bytes, 1);
    bytes.insert(bytes.end(), settings.begin(), settings.end());
    Put32(bytes, count);
    Put32(bytes, current);
    int32_t counts[kMaxDesktops] = {};
    for (const StoredDesktop& desktop : desktops)
        counts[desktop.index] = static_cast<int32_t>(desktop.entries.size());
    for (int32_t c : counts)
        Put32(bytes, c);
    for (int d = 0; d < kMaxDesktops; ++d)
    {
        for (const StoredDesktop& desktop : desktops)
        {
            if (desktop.index != d)
                continue;
            for (const DesktopEntry& entry : desktop.entries)
            {
                Put32(bytes, entry.window);
                Put32(bytes, entry.reserved1);
                Put32(bytes, entry.reserved2);
            }
        }
    }
    return bytes;
}

PagerSettings OtherSettings()
{
    PagerSettings settings;
    memset(&settings, 0, sizeof(settings));
    settings.reserved = 61;
    settings.columns = 3;
    settings.desktopCount = 7;
    settings.currentColor = RGB(1, 2, 3);
    settings.occupiedColor = RGB(4, 5, 6);
    settings.emptyColor = RGB(7, 8, 9);
    settings.hoverColor = RGB(10, 11, 12);
    strcpy(settings.faceName, "Courier New");
    return settings;
}

Bytes SampleStream()
{
    std::vector<StoredDesktop> desktops = {
        {0, {{kNoWindow1, 0x11, 0x12}, {kNoWindow2, 0x21, 0x22}}},
        {2, {{kNoWindow3, 0, 0xFFFFFFFF}}},
        {5, {{kNoWindow1, 1, 2}, {kNoWindow2, 3, 4}, {kNoWindow3, 5, 6}}},
    };
    return BuildStream(SettingsBytes(OtherSettings()), 7, 5, desktops);
}
