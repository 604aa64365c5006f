// The pager on a bar, driven through the DLL's exports as the host drives it:
// layout, painting, a click, a tooltip, and the state carried to a new pager.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "support/dib_canvas.h"
#include "support/event_log.h"
#include "support/pager_module.h"
#include "support/recording_site.h"
#include "support/test_window.h"

namespace {

const COLORREF kBackground = RGB(255, 0, 255);
const COLORREF kCyan = 0x00FFFF00;
const COLORREF kGrey = 0x00808080;
const COLORREF kLightGrey = 0x00D3D3D3;

class BarSessionTest : public ::testing::Test
{
protected:
    PagerModule module;
    RecordingSite site;
    TestWindow bar{"PagerTestBar", "Bar", true};
    IBarPlugin* pager = NULL;

    void SetUp() override
    {
        pager = module.CreatePager();
        ASSERT_NE(nullptr, pager);
        site.barWindow = bar.hwnd();
        pager->SetSite(&site);
        RECT rect = {20, 0, 120, 40};
        pager->SetRect(&rect);
    }

    void TearDown() override
    {
        if (pager)
            pager->Release();
    }

    int Width(IBarPlugin* target, int height)
    {
        BarInfo info;
        memset(&info, 0, sizeof(info));
        info.flags = kInfoWidth;
        info.height = height;
        target->GetInfo(&info);
        return info.width;
    }

    std::string Tooltip(IBarPlugin* target, UINT index)
    {
        std::vector<char> text(kTooltipTextSize, 'X');
        EXPECT_EQ(0, target->GetItemInfo(kItemTooltip, index, text.data()));
        return text.data();
    }
};

TEST_F(BarSessionTest, ClickSwitchesAndTheStateMovesToANewPager)
{
    TestWindow editor(kTestWindowClass, "Editor", true);
    int width = Width(pager, 40);  // 4 desktops, 2 rows of 20 pixels
    int cell = width / 2;
    ASSERT_GE(cell, 20);
    RECT rect;
    pager->GetItemInfo(kItemRect, 1, &rect);
    EXPECT_EQ(20 + cell, rect.left);

    std::string onScreen = Tooltip(pager, 0);
    EXPECT_TRUE(onScreen == "* Editor\n* Bar" || onScreen == "* Bar\n* Editor") << onScreen;
    ClearEvents();
    pager->OnClick(0, rect.left + 1, rect.top + 1);
    EXPECT_FALSE(editor.IsVisible());
    EXPECT_TRUE(bar.IsVisible());
    EXPECT_EQ((std::vector<std::string>{"site.GetBarWindow", "site.OnStateChanged", "site.Refresh(2)"}),
              EventsWithPrefix("site."));
    EXPECT_EQ("* Editor", Tooltip(pager, 0));

    DibCanvas canvas(2 * cell, 40);
    canvas.Fill(kBackground);
    POINT origin = {0, 0};
    pager->Paint(canvas.dc(), &origin);
    EXPECT_EQ(kGrey, canvas.Pixel(0, 0)) << "desktop 1 remembers the editor";
    EXPECT_EQ(kCyan, canvas.Pixel(cell, 0));
    EXPECT_EQ(kLightGrey, canvas.Pixel(0, 20));

    IStream* stream = NULL;
    ASSERT_EQ(S_OK, CreateStreamOnHGlobal(NULL, TRUE, &stream));
    EXPECT_EQ(0, pager->Save(stream));

    IBarPlugin* next = module.CreatePager();
    if (!next)
        stream->Release();
    ASSERT_NE(nullptr, next);
    EXPECT_TRUE(editor.IsVisible()) << "a new pager brings back the windows parked by the old one";
    ShowWindow(editor.hwnd(), SW_HIDE);  // as the first pager had left it
    LARGE_INTEGER start = {};
    stream->Seek(start, STREAM_SEEK_SET, NULL);
    EXPECT_EQ(0, next->Load(stream));
    stream->Release();
    int count = 0;
    next->GetItemInfo(kItemCount, 0, &count);
    EXPECT_EQ(4, count);
    EXPECT_EQ("* Editor", Tooltip(next, 0));
    EXPECT_FALSE(editor.IsVisible());

    pager->Release();
    pager = NULL;
    EXPECT_TRUE(editor.IsVisible()) << "a released pager shows every remembered window";
    next->Release();
}

TEST_F(BarSessionTest, HostTextIsCutToItsField)
{
    std::string longText(1000, 't');
    pager->SetText(longText.c_str());
    struct
    {
        BarInfo info;
        unsigned char after[64];
    } guarded;
    memset(&guarded, 0xCD, sizeof(guarded));
    guarded.info.flags = kInfoText | kInfoValue01;
    pager->GetInfo(&guarded.info);
    EXPECT_EQ(1, guarded.info.value01);
    EXPECT_EQ(std::string(kBarInfoTextSize - 1, 't'), std::string(guarded.info.text));
    for (unsigned char byte : guarded.after)
        ASSERT_EQ(0xCD, byte);
}

}  // namespace
