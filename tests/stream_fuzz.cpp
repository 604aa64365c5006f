// Feeds generated damaged state streams to the pager, as a host would hand
// them over, and checks after each load that the pager still works and that
// what it saves describes a table inside its bounds.
//   stream_fuzz [count] [seed]
#include <windows.h>
#include <objbase.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>

#include "support/dib_canvas.h"
#include "support/event_log.h"
#include "support/pager_module.h"
#include "support/recording_site.h"
#include "support/recording_stream.h"
#include "support/seeded_random.h"
#include "support/state_stream_bytes.h"
#include "support/test_window.h"

namespace {

SeededRandom g_random(20261208u);

uint32_t Next()
{
    return g_random.Next();
}

uint32_t Below(uint32_t limit)
{
    return g_random.Below(limit);
}

Bytes RandomValidStream()
{
    int count = 1 + Below(kMaxDesktops);
    int current = Below(count);
    std::vector<StoredDesktop> desktops;
    for (int d = 0; d < kMaxDesktops; ++d)
    {
        StoredDesktop desktop = {d, {}};
        int windows = d < count ? Below(4) : 0;
        for (int k = 0; k < windows; ++k)
            desktop.entries.push_back({kNoWindow1 + 2 * Below(3), Next(), Next()});
        desktops.push_back(desktop);
    }
    return BuildStream(DefaultSettingsBytes(), count, current, desktops);
}

const uint32_t kExtremeWords[] = {0u, 1u, 8u, 9u, 10u, 999u, 1000u, 1001u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu};

// One damaged stream; `what` names the damage.
Bytes Damaged(long serial, std::string& what)
{
    Bytes bytes = RandomValidStream();
    // The first streams cut a valid stream at every offset.
    if (serial < static_cast<long>(bytes.size()))
    {
        bytes.resize(serial);
        what = "cut at " + std::to_string(serial);
        return bytes;
    }
    switch (Below(5))
    {
    case 0:
        bytes.resize(Below(static_cast<uint32_t>(bytes.size())));
        what = "cut at " + std::to_string(bytes.size());
        break;
    case 1:
        for (uint32_t flips = 1 + Below(8); flips > 0; --flips)
            bytes[Below(static_cast<uint32_t>(bytes.size()))] ^= static_cast<unsigned char>(1 + Below(255));
        what = "flipped bytes";
        break;
    case 2:
    {
        size_t offset = 4 * Below(28);
        uint32_t word = Below(4) == 0 ? Next() : kExtremeWords[Below(sizeof(kExtremeWords) / sizeof(kExtremeWords[0]))];
        Set32(bytes, offset, word);
        what = "word " + std::to_string(word) + " at " + std::to_string(offset);
        break;
    }
    case 3:
        memset(&bytes[4 + 28], 'A' + Below(26), kFaceNameSize);  // face name without its NUL
        what = "unterminated face name";
        break;
    default:
        Set32(bytes, 4 * (18 + Below(9)), kExtremeWords[Below(sizeof(kExtremeWords) / sizeof(kExtremeWords[0]))]);
        bytes[Below(static_cast<uint32_t>(bytes.size()))] ^= 0xFF;
        bytes.resize(Below(static_cast<uint32_t>(bytes.size()) + 1));
        what = "extreme count, flip and cut";
        break;
    }
    return bytes;
}

int32_t Word(const std::vector<unsigned char>& bytes, size_t offset)
{
    int32_t word;
    memcpy(&word, &bytes[offset], 4);
    return word;
}

// Checks the saved state; "" when it describes a table inside its bounds.
std::string CheckSaved(const std::vector<unsigned char>& saved, int itemCount)
{
    if (saved.size() < 108)
        return "saved only " + std::to_string(saved.size()) + " bytes";
    if (!memchr(&saved[4 + 28], '\0', kFaceNameSize))
        return "face name without its NUL";
    int32_t count = Word(saved, 64);
    int32_t current = Word(saved, 68);
    if (count < 1 || count > kMaxDesktops)
        return "desktop count " + std::to_string(count);
    if (count != itemCount)
        return "item count differs from the saved count";
    if (current < 0 || current >= kMaxDesktops)
        return "current desktop " + std::to_string(current);
    size_t entries = 0;
    for (int d = 0; d < kMaxDesktops; ++d)
    {
        int32_t windows = Word(saved, 72 + 4 * d);
        if (windows < 0 || windows > kMaxWindowsPerDesktop)
            return "window count " + std::to_string(windows);
        entries += windows;
    }
    if (saved.size() != 108 + 12 * entries)
        return "saved length does not match the counts";
    return "";
}

// Loads one stream and uses the pager as a host does; "" when all went well.
std::string Exercise(IBarPlugin* pager, const Bytes& bytes, DibCanvas& canvas)
{
    IStream* stream = StreamWithBytes(bytes);
    if (!stream)
        return "no stream";
    HRESULT loaded = pager->Load(stream);
    stream->Release();
    if (loaded != S_OK)
        return "Load answered " + std::to_string(loaded);

    BarInfo info = {};
    info.flags = kInfoWidth;
    info.height = 40;
    pager->GetInfo(&info);
    if (info.width <= 0)
        return "width " + std::to_string(info.width);

    POINT origin = {0, 0};
    pager->Paint(canvas.dc(), &origin);

    static char text[kTooltipTextSize + 16];
    for (UINT cell = 0; cell <= kMaxDesktops + 1; ++cell)
    {
        memset(text, 0x5A, sizeof(text));
        UINT index = cell <= kMaxDesktops ? cell : 0xFFFFFFFFu;
        pager->GetItemInfo(kItemTooltip, index, text);
        if (!memchr(text, '\0', kTooltipTextSize))
            return "tooltip without its NUL";
        for (size_t i = kTooltipTextSize; i < sizeof(text); ++i)
        {
            if (text[i] != 0x5A)
                return "tooltip wrote past its buffer";
        }
    }

    int count = 0;
    pager->GetItemInfo(kItemCount, 0, &count);
    std::vector<unsigned char> before = SavedBytes(pager);
    int current = before.size() >= 72 ? Word(before, 68) : 0;
    int target = current == 0 ? 1 : 0;
    if (target < count)
    {
        RECT cell = {};
        pager->GetItemInfo(kItemRect, target, &cell);
        pager->OnClick(0, cell.left, cell.top);
    }
    return CheckSaved(SavedBytes(pager), count);
}

}  // namespace

int main(int argc, char** argv)
{
    long total = argc > 1 ? atol(argv[1]) : 3000;
    uint32_t seed = argc > 2 ? static_cast<uint32_t>(strtoul(argv[2], NULL, 10)) : 20261208u;
    g_random = SeededRandom(seed);

    PagerModule module;
    IBarPlugin* pager = module.module() ? module.CreatePager() : NULL;
    if (!pager)
    {
        printf("stream fuzz: no pager\n");
        return 2;
    }
    TestWindow bar(kTestWindowClass, "Bar", true);
    RecordingSite site;
    site.barWindow = bar.hwnd();
    RECT rect = {0, 0, 400, 40};
    pager->SetSite(&site);
    pager->SetRect(&rect);
    DibCanvas canvas(400, 60);

    long failed = 0;
    for (long serial = 0; serial < total; ++serial)
    {
        std::string what;
        Bytes bytes = Damaged(serial, what);
        std::string problem = Exercise(pager, bytes, canvas);
        if (!problem.empty() && ++failed <= 20)
            printf("stream %ld (%s): %s\n", serial, what.c_str(), problem.c_str());
        ClearEvents();  // the site's log would otherwise grow without end
    }
    pager->Release();
    printf("stream fuzz, seed %u: %ld streams tried, %ld failed\n", seed, total, failed);
    return failed ? 1 : 0;
}
