// Damaged state streams: whatever a load is fed, the table stays inside its
// bounds and the pager still lays out, paints and switches.
#include <gtest/gtest.h>

#include <limits.h>
#include <string.h>

#include "core/desktop_table.h"
#include "tests/support/table_lists.h"
#include "support/dib_canvas.h"
#include "support/owned_pager.h"
#include "support/recording_site.h"
#include "support/recording_stream.h"
#include "support/state_stream_bytes.h"
#include "support/test_window.h"

namespace {

const COLORREF kBackground = RGB(255, 0, 255);

class DamagedStreamTest : public ::testing::Test
{
protected:
    OwnedPager pager;
    RecordingSite site;
    TestWindow bar{kTestWindowClass, "Bar", true};
    DibCanvas canvas{300, 120};
    int loads = 0;

    void SetUp() override
    {
        ASSERT_NE(nullptr, pager.get());
        RECT rect = {0, 0, 300, 40};
        pager->SetRect(&rect);
        pager->SetSite(&site);
        site.barWindow = bar.hwnd();
    }

    // Loads the bytes, then checks the table's bounds and drives the pager once.
    void LoadAndUse(const Bytes& bytes, const char* what, size_t where)
    {
        SCOPED_TRACE(testing::Message() << what << " at " << where);
        ++loads;
        g_desktopTable.Reset(4);
        RecordingStream stream(bytes);
        ASSERT_EQ(S_OK, pager->Load(&stream));

        CTableLists table;
        ASSERT_GE(table.Count(), 1);
        ASSERT_LE(table.Count(), kMaxDesktops);
        ASSERT_GE(table.Current(), 0);
        ASSERT_LT(table.Current(), kMaxDesktops);
        for (int d = 0; d < kMaxDesktops; ++d)
        {
            ASSERT_GE(table.Windows(d), 0);
            ASSERT_LE(table.Windows(d), kMaxWindowsPerDesktop);
        }
        ASSERT_NE(nullptr, memchr(pager->settings.faceName, '\0', sizeof(pager->settings.faceName)));

        BarInfo info;
        memset(&info, 0, sizeof(info));
        info.flags = kInfoWidth;
        info.height = 40;
        pager->GetInfo(&info);
        ASSERT_GE(pager->columnsInUse, 1);
        ASSERT_GE(pager->rows, 1);
        ASSERT_GT(info.width, 0);

        canvas.Fill(kBackground);
        POINT origin = {0, 0};
        pager->Paint(canvas.dc(), &origin);
        ASSERT_NE(kBackground, canvas.Pixel(0, 0)) << "the first cell is painted";

        // Click a cell that is not the current desktop; with one desktop that is
        // current there is none to click.
        int target = table.Current() == 0 ? 1 : 0;
        if (target >= table.Count())
            return;
        RECT cell;
        pager->GetItemInfo(kItemRect, target, &cell);
        pager->OnClick(0, cell.left, cell.top);
        ASSERT_EQ(target, g_desktopTable.Current()) << "the click switched";
    }
};

TEST_F(DamagedStreamTest, FlippedBytesTruncationsAndExtremeWords)
{
    const Bytes sample = SampleStream();
    for (size_t offset = 0; offset < sample.size(); ++offset)
    {
        for (unsigned char mask : {0x01, 0x80, 0xFF})
        {
            Bytes bytes = sample;
            bytes[offset] ^= mask;
            LoadAndUse(bytes, "flipped byte", offset);
            bytes.resize(offset);
            LoadAndUse(bytes, "flipped and cut", offset);
            if (HasFatalFailure())
                return;
        }
    }
    // Every header word, and the first entry word, set to values no stream of ours holds.
    for (size_t offset = 0; offset <= 108; offset += 4)
    {
        for (uint32_t word : {0u, 1u, 9u, 10u, 1000u, 1001u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu})
        {
            Bytes bytes = sample;
            Set32(bytes, offset, word);
            LoadAndUse(bytes, "extreme word", offset);
            if (HasFatalFailure())
                return;
        }
    }
    EXPECT_EQ(2 * 3 * static_cast<int>(sample.size()) + 28 * 9, loads);
    CTableLists lists;
    lists.Forget();
    lists.Put();
}

}  // namespace
