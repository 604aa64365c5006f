// The desktop table's switch, reset, count changes and restore, with real windows.
#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "core/desktop_table.h"
#include "tests/support/table_lists.h"
#include "core/parked_mark.h"
#include "win/window_platform.h"
#include "win/window_shower.h"
#include "win/handle32.h"
#include "support/event_log.h"
#include "support/test_window.h"
#include "support/window_order.h"

namespace {

using Titles = std::vector<std::string>;

class DesktopTableTest : public ::testing::Test
{
protected:
    std::vector<std::unique_ptr<TestWindow>> windows;

    void SetUp() override
    {
        g_desktopTable.RestoreAll();
        g_desktopTable.Reset(4);
        ClearEvents();
    }
    void TearDown() override { g_desktopTable.RestoreAll(); }

    HWND Make(const char* title, bool visible = true, const char* className = kTestWindowClass)
    {
        windows.emplace_back(new TestWindow(className, title, visible));
        return windows.back()->hwnd();
    }
    // Remembers `window` on `desktop` as a switch would have recorded it.
    void Park(int desktop, HWND window)
    {
        CTableLists lists;
        int position = lists.Windows(desktop);
        lists.Entry(desktop, position) = {HandleToWord(window), 0, 0};
        lists.SetWindowCount(desktop, position + 1);
        lists.Put();
    }
};

TEST_F(DesktopTableTest, SwitchAwayAndBackHidesBottomMostFirstAndShowsFirstRecordedLast)
{
    Make("a1");
    Make("a2");
    Make("a3");
    Make("hidden", false);
    Titles onA = TitlesInEnumOrder({windows[0]->hwnd(), windows[1]->hwnd(), windows[2]->hwnd()});
    ClearEvents();

    ASSERT_TRUE(g_desktopTable.SwitchTo(1, NULL));
    EXPECT_EQ(Prefixed("hide", Reversed(onA)), Events());
    EXPECT_EQ(1, g_desktopTable.Current());
    EXPECT_EQ(3, CTableLists().Windows(0));
    for (auto& window : windows)
        EXPECT_FALSE(window->IsVisible());

    HWND b1 = Make("b1");
    ClearEvents();
    ASSERT_TRUE(g_desktopTable.SwitchTo(0, NULL));
    Titles expected = {"hide b1"};
    for (const std::string& event : Prefixed("show", Reversed(onA)))
        expected.push_back(event);
    EXPECT_EQ(expected, Events());
    EXPECT_EQ(1, CTableLists().Windows(1));
    EXPECT_EQ(HandleToWord(b1), HandleToWord(CTableLists().Window(1, 0)));
    EXPECT_FALSE(windows[3]->IsVisible()) << "an invisible window is never shown";
}

// With no bar to take the foreground, the active window goes last even where
// a top-most window lies above it: no other window is activated on the way.
TEST_F(DesktopTableTest, ActiveWindowUnderATopMostOneIsHiddenLast)
{
    HWND active = Make("active");
    HWND above = Make("above", false);
    SetWindowPos(above, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ASSERT_EQ(active, GetForegroundWindow());
    ClearEvents();
    LONG activations = ActivateMessages();
    ASSERT_TRUE(g_desktopTable.SwitchTo(1, NULL));
    EXPECT_EQ(Titles({"hide above", "hide active"}), Events());
    EXPECT_EQ(1, ActivateMessages() - activations) << "more than the active window's deactivation";
}

TEST_F(DesktopTableTest, SwitchToCurrentOrOutOfRangeChangesNothing)
{
    Make("w");
    ClearEvents();
    EXPECT_TRUE(g_desktopTable.SwitchTo(0, reinterpret_cast<HWND>(0x1234)));
    EXPECT_FALSE(g_desktopTable.SwitchTo(9, NULL));
    EXPECT_FALSE(g_desktopTable.SwitchTo(-1, NULL));  // would index windowCounts[-1]
    EXPECT_FALSE(g_desktopTable.SwitchTo(INT_MIN, NULL));
    EXPECT_TRUE(Events().empty());
    EXPECT_EQ(0, g_desktopTable.Current());
    EXPECT_TRUE(windows[0]->IsVisible());
}

TEST_F(DesktopTableTest, BarWindowsShellWindowsAndTheBarStayVisible)
{
    HWND menu = Make("menu", true, "QuorvaneMenu");
    HWND shadow = Make("shadow", true, "QuorvaneShadow");
    HWND tray = Make("tray", true, "Shell_TrayWnd");
    HWND progman = Make("progman", true, "Progman");
    HWND bar = Make("bar");
    HWND longer = Make("longer", true, "QuorvaneMenuX");  // whole class names only
    HWND plain = Make("plain");
    ASSERT_EQ(tray, FindWindowA("Shell_TrayWnd", NULL));
    ASSERT_EQ(progman, FindWindowA("Progman", NULL));

    ASSERT_TRUE(g_desktopTable.SwitchTo(2, bar));
    for (HWND kept : {menu, shadow, tray, progman, bar})
        EXPECT_TRUE(IsWindowVisible(kept)) << Title(kept);
    EXPECT_FALSE(IsWindowVisible(longer));
    EXPECT_FALSE(IsWindowVisible(plain));

    ASSERT_TRUE(g_desktopTable.SwitchTo(0, bar));
    EXPECT_TRUE(IsWindowVisible(plain));
    EXPECT_TRUE(IsWindowVisible(menu));
}

TEST_F(DesktopTableTest, ClassNamesCompareCaseSensitively)
{
    // Class registration ignores case within one module: "quorvanemenu" is
    // registered for another module of the process, so that it stays a class
    // of its own when another test has registered "QuorvaneMenu".
    WNDCLASSA lowerClass = {};
    lowerClass.lpfnWndProc = DefWindowProcA;
    lowerClass.hInstance = GetModuleHandleA("gdi32.dll");
    lowerClass.lpszClassName = "quorvanemenu";
    RegisterClassA(&lowerClass);
    HWND lower = CreateWindowExA(0, "quorvanemenu", "lower", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, NULL, NULL,
                                 lowerClass.hInstance, NULL);
    ASSERT_TRUE(lower);
    ASSERT_TRUE(g_desktopTable.SwitchTo(1, NULL));
    EXPECT_FALSE(IsWindowVisible(lower));
    DestroyWindow(lower);
    UnregisterClassA("quorvanemenu", lowerClass.hInstance);
}

TEST_F(DesktopTableTest, FullListLeavesTheSurplusVisibleAndUnrecorded)
{
    const int total = kMaxWindowsPerDesktop + 5;
    for (int i = 0; i < total; ++i)
    {
        // Marked visible without mapping: mapping a thousand X windows takes minutes under Wine.
        HWND window = Make(("w" + std::to_string(i)).c_str(), false);
        SetWindowLongPtrA(window, GWL_STYLE, GetWindowLongPtrA(window, GWL_STYLE) | WS_VISIBLE);
    }
    ASSERT_TRUE(g_desktopTable.SwitchTo(1, NULL));
    EXPECT_EQ(kMaxWindowsPerDesktop, CTableLists().Windows(0));
    EXPECT_EQ(0u, HandleToWord(CTableLists().Window(1, 0))) << "nothing written past desktop 0's list";
    int visible = 0;
    for (auto& window : windows)
        visible += window->IsVisible() ? 1 : 0;
    EXPECT_EQ(5, visible);
    windows.clear();  // spares TearDown from mapping them all again
}

TEST_F(DesktopTableTest, ResetClampsTheCountAndShowsWindowsParkedOnOtherDesktops)
{
    HWND parked1 = Make("p1", false);
    HWND parked2 = Make("p2", false);
    HWND shown = Make("current", true);
    Park(3, parked1);
    Park(3, parked2);
    Park(0, shown);  // the current desktop's list: on screen already
    ClearEvents();

    EXPECT_TRUE(g_desktopTable.Reset(12));
    EXPECT_EQ(Titles({"show p2", "show p1"}), Events());
    EXPECT_EQ(9, g_desktopTable.Count());
    EXPECT_EQ(0, g_desktopTable.Current());
    for (int d = 0; d < kMaxDesktops; ++d)
        EXPECT_EQ(0, CTableLists().Windows(d));
    EXPECT_EQ(0u, HandleToWord(CTableLists().Window(3, 1)));

    EXPECT_TRUE(g_desktopTable.Reset(3));
    EXPECT_EQ(3, g_desktopTable.Count());
}

TEST_F(DesktopTableTest, ShrinkingShowsTheDroppedDesktopsInOrder)
{
    g_desktopTable.ChangeCount(5);
    for (const char* title : {"d3a", "d3b", "d4a", "d4b", "d1"})
        Make(title, false);
    Park(3, windows[0]->hwnd());
    Park(3, windows[1]->hwnd());
    Park(4, windows[2]->hwnd());
    Park(4, windows[3]->hwnd());
    Park(1, windows[4]->hwnd());
    ClearEvents();

    EXPECT_TRUE(g_desktopTable.ChangeCount(3));
    EXPECT_EQ(Titles({"show d3b", "show d3a", "show d4b", "show d4a"}), Events());
    EXPECT_EQ(3, g_desktopTable.Count());
    EXPECT_EQ(0, CTableLists().Windows(3));
    EXPECT_EQ(0, CTableLists().Windows(4));
    EXPECT_EQ(1, CTableLists().Windows(1));
    EXPECT_FALSE(windows[4]->IsVisible());

    ClearEvents();
    EXPECT_TRUE(g_desktopTable.ChangeCount(5));  // growing only sets the count
    EXPECT_TRUE(g_desktopTable.ChangeCount(5));
    EXPECT_TRUE(Events().empty());
    EXPECT_EQ(5, g_desktopTable.Count());
}

TEST_F(DesktopTableTest, CountChangesAreClamped)
{
    g_desktopTable.ChangeCount(9);
    EXPECT_TRUE(g_desktopTable.ChangeCount(15));
    EXPECT_EQ(9, g_desktopTable.Count());
    EXPECT_TRUE(g_desktopTable.ChangeCount(0));
    EXPECT_EQ(1, g_desktopTable.Count());
    EXPECT_TRUE(g_desktopTable.ChangeCount(-3));
    EXPECT_EQ(1, g_desktopTable.Count());
}

// Another bar's switch may move past the new count between a caller's look
// and the count change: desktop 1 becomes current, its windows join the screen.
TEST_F(DesktopTableTest, ShrinkPastTheCurrentDesktopMakesDesktop1Current)
{
    g_desktopTable.ChangeCount(5);
    HWND first = Make("on 1");
    ASSERT_TRUE(g_desktopTable.SwitchTo(4, NULL));
    HWND fifth = Make("on 5");
    g_desktopTable.ChangeCount(2);
    EXPECT_EQ(0, g_desktopTable.Current());
    EXPECT_TRUE(IsWindowVisible(first) && IsWindowVisible(fifth));
    ASSERT_TRUE(g_desktopTable.SwitchTo(1, NULL));
    EXPECT_EQ(2, CTableLists().Windows(0));
}

TEST_F(DesktopTableTest, RestoreAllShowsEveryDesktopAlsoBeyondTheCount)
{
    ASSERT_TRUE(g_desktopTable.SwitchTo(2, NULL));
    for (int d = 0; d < kMaxDesktops; ++d)
    {
        std::string title = "d" + std::to_string(d);
        bool current = d == 2;  // the current desktop's windows are on screen
        Park(d, Make((title + "a").c_str(), current));
        Park(d, Make((title + "b").c_str(), current));
    }
    ClearEvents();

    EXPECT_TRUE(g_desktopTable.RestoreAll());
    Titles expected;
    for (int d = 0; d < kMaxDesktops; ++d)
    {
        if (d == 2)
            continue;  // already visible: showing them again sends nothing
        std::string title = "d" + std::to_string(d);
        expected.push_back("show " + title + "b");
        expected.push_back("show " + title + "a");
    }
    EXPECT_EQ(expected, Events());
    for (auto& window : windows)
        EXPECT_TRUE(window->IsVisible()) << Title(window->hwnd());
    EXPECT_EQ(0, g_desktopTable.Current());
    EXPECT_EQ(4, g_desktopTable.Count());
    for (int d = 0; d < kMaxDesktops; ++d)
        EXPECT_EQ(0, CTableLists().Windows(d));
}

TEST(HandleWords, WidenBySignExtension)
{
    EXPECT_EQ(reinterpret_cast<HWND>(static_cast<INT_PTR>(-2)), WordToHandle(0xFFFFFFFEu));
    EXPECT_EQ(0x00012345u, HandleToWord(reinterpret_cast<HWND>(0x12345)));
}

// The window active when a desktop was left comes back active, not the one
// above it: an owned Find box, a top-most note that takes no activation.
TEST_F(DesktopTableTest, TheWindowThatWasActiveComesBackActive)
{
    for (bool note : {false, true})
    {
        HWND editor = Make("editor");
        SetForegroundWindow(editor);
        HWND above = CreateWindowExA(note ? WS_EX_TOPMOST | WS_EX_NOACTIVATE : 0, kTestWindowClass, "above",
                                     WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, note ? NULL : editor, NULL, NULL, NULL);
        ShowWindow(above, SW_SHOWNA);
        ASSERT_EQ(editor, GetForegroundWindow());
        ASSERT_TRUE(g_desktopTable.SwitchTo(1, NULL) && g_desktopTable.SwitchTo(0, NULL));
        EXPECT_EQ(editor, GetForegroundWindow()) << (note ? "under a note" : "under its Find box");
        EXPECT_TRUE(IsWindowVisible(above));
        DestroyWindow(above);
        g_desktopTable.RestoreAll();
    }
}

// What Windows may do and Wine does not, put in place of the platform's calls
// for the test's own windows, seen as another thread's.
struct ScriptedPlatform : CWindowPlatform
{
    bool refuse = false, outranks = false, hang = false;
    bool early = false;  // probes are answered before the requests reach the owner
    std::vector<std::pair<HWND, int>> queued;
    DWORD OwnerThread(HWND) override { return 1; }
    bool Request(HWND window, int command) override
    {
        if (!refuse)
            queued.push_back({window, command});
        return !refuse;
    }
    ProbeAnswer Probe(HWND, UINT timeoutMs) override
    {
        if (hang)
            return Sleep(timeoutMs), kProbeTimedOut;
        if (!early)
            CarryOut();
        else if (!queued.empty())  // sent on from another thread: they arrive after the answer
            std::thread([requests = std::exchange(queued, {})] {
                for (auto& request : requests)
                    ShowWindowAsync(request.first, request.second);
            }).join();
        return kProbeAnswered;
    }
    bool ProcessOutranksUs(DWORD) override { return outranks; }
    void CarryOut()
    {
        for (auto& request : std::exchange(queued, {}))
            ShowWindow(request.first, request.second);
    }
};

TEST_F(DesktopTableTest, RefusedEarlyLateAndGhostOutcomesDecideWhatIsParked)
{
    struct Row { const char* name; ScriptedPlatform script; const char* className; int recorded; bool visible; };
    ScriptedPlatform refused, outranking, early, late, plain;
    refused.refuse = outranking.outranks = late.hang = true;
    early.early = true;
    for (Row row : {Row{"refused", refused, kTestWindowClass, 0, true}, Row{"elevated", outranking, kTestWindowClass, 0, true},
                    Row{"early answers", early, kTestWindowClass, 1, false}, Row{"late", late, kTestWindowClass, 1, true},
                    Row{"ghost", plain, "Ghost", 0, true}})
    {
        HWND window = Make(row.name, true, row.className);
        SetWindowPlatform(&row.script);
        DWORD start = GetTickCount();
        ASSERT_TRUE(g_desktopTable.SwitchTo(1, NULL));
        EXPECT_LT(GetTickCount() - start, 2000 + kHungProbeTimeoutMs) << row.name;  // emulation is slow
        SetWindowPlatform(NULL);
        EXPECT_EQ(row.recorded, CTableLists().Windows(0)) << row.name;
        EXPECT_EQ(row.recorded == 1, IsParked(window)) << row.name;
        EXPECT_EQ(row.visible, IsWindowVisible(window) != FALSE) << row.name;
        row.script.CarryOut();  // carried out late, when the owner pumps again
        g_desktopTable.RestoreAll();
        EXPECT_TRUE(IsWindowVisible(window)) << row.name;
        DestroyWindow(window);
    }
}

}  // namespace
