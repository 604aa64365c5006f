// Tooltip texts: the windows on screen for the current desktop, the
// remembered windows for the others, and the bound on the host's buffer.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <string.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core/desktop_table.h"
#include "tests/support/table_lists.h"
#include "win/handle32.h"
#include "core/window_filter.h"
#include "core/window_lists.h"
#include "support/owned_pager.h"
#include "support/test_window.h"

namespace {

const unsigned char kUntouched = 0xCD;

// A real tooltip control tracking one tool: its window text is the tool's
// text, and its title as the system keeps it is that text too.
class ShownTooltip
{
public:
    explicit ShownTooltip(const char* text)
    {
        // Registers the control's class, as the host does; no library reference left behind.
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
        owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
        window = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, NULL, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                 0, 0, 0, 0, owner, NULL, NULL, NULL);
        TOOLINFOA tool = {};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
        tool.hwnd = owner;
        tool.uId = 1;
        tool.lpszText = const_cast<char*>(text);
        SendMessageA(window, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
        SendMessageA(window, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
        SetWindowTextA(window, text);
    }
    ~ShownTooltip()
    {
        DestroyWindow(window);
        DestroyWindow(owner);
    }
    ShownTooltip(const ShownTooltip&) = delete;
    ShownTooltip& operator=(const ShownTooltip&) = delete;

    HWND hwnd() const { return window; }

private:
    HWND owner;
    HWND window;
};

class WindowListTest : public ::testing::Test
{
protected:
    OwnedPager pager;

    void SetUp() override { ASSERT_NE(nullptr, pager.get()); }

    void TearDown() override
    {
        // The lists name test windows that are gone by now: nothing to show.
        CTableLists lists;
        lists.Forget();
        lists.Put();
    }

    // The tooltip of a cell, read from a buffer larger than the bound: not a
    // byte after the text's NUL may change.
    std::string Tooltip(UINT index)
    {
        std::vector<unsigned char> buffer(kTooltipTextSize + 256, kUntouched);
        EXPECT_EQ(0, pager->GetItemInfo(kItemTooltip, index, buffer.data()));
        size_t length = strnlen(reinterpret_cast<const char*>(buffer.data()), buffer.size());
        EXPECT_LT(length, static_cast<size_t>(kTooltipTextSize));
        for (size_t i = length + 1; i < buffer.size(); ++i)
        {
            if (buffer[i] != kUntouched)
            {
                ADD_FAILURE() << "byte " << i << " written after the text";
                break;
            }
        }
        return std::string(reinterpret_cast<const char*>(buffer.data()), length);
    }

    void Remember(int desktop, const std::vector<HWND>& windows)
    {
        CTableLists lists;
        lists.SetList(desktop, windows);
        lists.Put();
    }
};

// The lines, top of the z-order first, for the windows of `listed` that are on screen.
std::string LinesInZOrder(const std::vector<HWND>& listed)
{
    std::vector<std::string> lines;
    for (HWND window = GetTopWindow(NULL); window; window = GetWindow(window, GW_HWNDNEXT))
    {
        for (HWND candidate : listed)
        {
            char title[100];
            if (candidate == window && GetWindowTextA(window, title, sizeof(title)) > 0)
                lines.push_back(std::string("* ") + title);
        }
    }
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i)
        text += lines[i] + (i + 1 < lines.size() ? "\n" : "");
    return text;
}

TEST_F(WindowListTest, CurrentDesktopListsTheTitledWindowsOnScreen)
{
    TestWindow first(kTestWindowClass, "First", true);
    TestWindow second(kTestWindowClass, "Second", true);
    TestWindow bar("PagerTestBar", "Bar", true);  // the bar's own top window is listed too
    TestWindow third(kTestWindowClass, "Third", true);
    TestWindow hidden(kTestWindowClass, "Hidden", false);
    TestWindow pinwall("wndclass_pinwall_zq", "Pinwall", true);
    ShownTooltip tip("Tip");
    ASSERT_TRUE(IsWindowVisible(tip.hwnd()));
    TestWindow menu("QuorvaneMenu", "Menu", true);
    TestWindow shadow("QuorvaneShadow", "Shadow", true);
    ASSERT_EQ(0, g_desktopTable.Current());

    std::string expected = LinesInZOrder({first.hwnd(), second.hwnd(), bar.hwnd(), third.hwnd()});
    EXPECT_EQ(4u, std::count(expected.begin(), expected.end(), '*'));
    EXPECT_EQ(expected, Tooltip(0));
}

TEST_F(WindowListTest, UntitledWindowAtTheEndLeavesALineBreak)
{
    TestWindow untitled(kTestWindowClass, "", true);
    TestWindow titled(kTestWindowClass, "Titled", true);
    SetWindowPos(untitled.hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ("* Titled\n", Tooltip(0));
}

TEST_F(WindowListTest, NoWindowOnScreenGivesEmptyMarker)
{
    EXPECT_EQ("<empty>", Tooltip(0));
}

TEST_F(WindowListTest, StoredDesktopListsRememberedTitles)
{
    TestWindow titled(kTestWindowClass, "Titled", false);
    ShownTooltip tip("Tip");  // left out only on screen
    char title[16] = "";
    GetWindowTextA(tip.hwnd(), title, sizeof(title));
    ASSERT_STREQ("Tip", title);
    TestWindow pinwall("wndclass_pinwall_zq", "Pinwall", true);
    TestWindow visible(kTestWindowClass, "Visible", true);
    TestWindow untitled(kTestWindowClass, "", false);
    HWND closed = CreateWindowExA(0, "STATIC", "Closed", WS_POPUP, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
    DestroyWindow(closed);

    Remember(1, {titled.hwnd(), tip.hwnd(), pinwall.hwnd(), closed, visible.hwnd()});
    EXPECT_EQ("* Titled\n* Tip\n* Visible", Tooltip(1));
    Remember(2, {titled.hwnd(), visible.hwnd(), untitled.hwnd()});
    EXPECT_EQ("* Titled\n* Visible\n", Tooltip(2));
    Remember(3, {untitled.hwnd(), closed});
    EXPECT_EQ("", Tooltip(3)) << "windows but no titles";
    Remember(3, {visible.hwnd(), pinwall.hwnd()});
    EXPECT_EQ("* Visible\n", Tooltip(3)) << "the excluded class at the end";
    Remember(3, {});
    EXPECT_EQ("<empty>", Tooltip(3)) << "remembers nothing";
}

TEST_F(WindowListTest, LongTitlesAreCutTo99Characters)
{
    std::string title(150, 'x');
    title.replace(98, 3, "END");
    TestWindow longTitle(kTestWindowClass, title.c_str(), false);
    Remember(1, {longTitle.hwnd()});
    EXPECT_EQ("* " + title.substr(0, 99), Tooltip(1));
}

TEST_F(WindowListTest, CellsBeyondTheCountAreEmptyUnlessCurrent)
{
    TestWindow titled(kTestWindowClass, "Titled", false);
    ASSERT_EQ(4, g_desktopTable.Count());
    Remember(4, {titled.hwnd()});
    EXPECT_EQ("", Tooltip(4));
    EXPECT_EQ("", Tooltip(0xFFFFFFFFu));
    EXPECT_EQ("", Tooltip(9));

    TestWindow onScreen(kTestWindowClass, "On screen", true);
    CTableLists lists;
    lists.SetCurrent(6);  // beyond the count, as a settings change can leave it
    lists.Put();
    EXPECT_EQ("* On screen", Tooltip(6));

    g_desktopTable.Reset(-1);  // never the table's state, but no index may follow it out
    Remember(8, {titled.hwnd()});
    EXPECT_EQ("* Titled", Tooltip(8));
    EXPECT_EQ("", Tooltip(9));
    EXPECT_EQ("", Tooltip(1000000));
    g_desktopTable.Reset(4);
}

TEST_F(WindowListTest, ThousandWindowsStayWithinTheBuffer)
{
    std::string title(150, 'w');
    TestWindow window(kTestWindowClass, title.c_str(), false);
    Remember(1, std::vector<HWND>(kMaxWindowsPerDesktop, window.hwnd()));
    std::string text = Tooltip(1);
    const std::string line = "* " + title.substr(0, 99) + "\n";
    size_t lines = (kTooltipTextSize - 1) / line.size();
    EXPECT_EQ(lines * line.size(), text.size()) << "whole lines only";
    for (size_t i = 0; i < lines; ++i)
        ASSERT_EQ(line, text.substr(i * line.size(), line.size())) << i;
}

TEST_F(WindowListTest, ManyWindowsOnScreenStayWithinTheBuffer)
{
    std::vector<std::unique_ptr<TestWindow>> windows;
    for (int i = 0; i < 50; ++i)
    {
        std::string title = std::to_string(i) + std::string(120, 'o');
        windows.emplace_back(new TestWindow(kTestWindowClass, title.c_str(), true));
    }
    std::string text = Tooltip(0);
    EXPECT_GT(text.size(), static_cast<size_t>(kTooltipTextSize) - 103);
    EXPECT_EQ('\n', text.back()) << "the lines that fit, each ending in a break";
}

TEST_F(WindowListTest, LiveListKeepsAtMostItsCapacity)
{
    TestWindow window(kTestWindowClass, "Visible", true);
    LiveWindowList list;
    CWindowFilter filter(kLiveList, NULL);
    LiveWindowEnumeration enumeration = {&filter, &list};
    for (int i = 0; i < kMaxLiveWindows + 5; ++i)
        EXPECT_TRUE(CollectLiveWindow(window.hwnd(), reinterpret_cast<LPARAM>(&enumeration)));
    EXPECT_EQ(kMaxLiveWindows, list.Count());
    EXPECT_EQ(5, list.Dropped());
}

// Wine cloaks no window: the decisions are tested as tables.
TEST(WindowFilter, EachListLeavesOutItsOwnClassesOfTheOneTable)
{
    struct Row { const char* name; bool switched, live, stored; } rows[] = {
        {"QuorvaneMenu", 1, 1, 0}, {"QuorvaneShadow", 1, 1, 0}, {"Shell_SecondaryTrayWnd", 1, 1, 1},
        {"WorkerW", 1, 1, 1}, {"wndclass_pinwall_zq", 0, 1, 1}, {"tooltips_class32", 0, 1, 0},
        {"QuorvaneMenuX", 0, 0, 0}, {"workerw", 0, 0, 0}, {"", 0, 0, 0}};
    for (const Row& r : rows)
    {
        EXPECT_EQ(r.switched, IsClassLeftOut(kSwitchList, r.name)) << r.name;
        EXPECT_EQ(r.live, IsClassLeftOut(kLiveList, r.name)) << r.name;
        EXPECT_EQ(r.stored, IsClassLeftOut(kStoredList, r.name)) << r.name;
    }
}

TEST(WindowFilter, OnlyAQueryThatSucceedsReportsACloakedWindow)
{
    struct Row { HRESULT result; DWORD value; bool cloaked; } rows[] = {
        {S_OK, 0, false}, {S_OK, 1, true}, {S_OK, 2, true}, {S_OK, 4, true},
        {E_NOTIMPL, 2, false}, {E_INVALIDARG, 1, false}, {E_HANDLE, 0, false}};
    for (const Row& r : rows)
        EXPECT_EQ(r.cloaked, IsCloakedAnswer(r.result, r.value)) << std::hex << r.result << " " << r.value;
    EXPECT_FALSE(CCloakQuery().IsCloaked(GetDesktopWindow())) << "Wine cloaks nothing";
}

}  // namespace
