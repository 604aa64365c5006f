// A switch must return promptly even when a window it hides or shows belongs
// to a thread that has stopped pumping messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "core/desktop_table.h"
#include "tests/support/table_lists.h"
#include "win/handle32.h"
#include "core/switch_activation.h"
#include "plugin/bar_interfaces.h"
#include "support/event_log.h"
#include "support/hung_thread.h"
#include "support/owned_pager.h"
#include "support/test_window.h"
#include "support/window_order.h"

extern "C" BOOL WINAPI SetShellWindow(HWND window);  // user32, declared by no header here

namespace {

const DWORD kPromptMs = 2000;

struct Watch
{
    HungThread* hung;
    HANDLE done;
    LONG timedOut;
};

DWORD WINAPI Watchdog(LPVOID param)
{
    Watch* watch = static_cast<Watch*>(param);
    if (WaitForSingleObject(watch->done, kPromptMs) == WAIT_TIMEOUT)
    {
        InterlockedExchange(&watch->timedOut, 1);
        watch->hung->Thaw();
    }
    return 0;
}

// Runs `action` on this thread; if it has not returned within kPromptMs the
// hung thread is thawed so that the action (and the test) can still finish.
template <typename Action>
bool ReturnsPromptly(HungThread& hung, Action action)
{
    Watch watch = {&hung, CreateEventA(NULL, TRUE, FALSE, NULL), 0};
    HANDLE watchdog = CreateThread(NULL, 0, Watchdog, &watch, 0, NULL);
    action();
    SetEvent(watch.done);
    WaitForSingleObject(watchdog, INFINITE);
    CloseHandle(watchdog);
    CloseHandle(watch.done);
    return watch.timedOut == 0;
}

class HungWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Explorer's shell window, which Wine lacks: where the foreground goes
        // when the bar cannot take it. Its class keeps it out of every switch.
        static HWND shell = NULL;
        if (!shell)
        {
            RegisterTestClass("Progman", DefWindowProcA, NULL);
            shell = CreateWindowExA(0, "Progman", "Program Manager", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, NULL, NULL,
                                    GetModuleHandleA(NULL), NULL);
            ASSERT_TRUE(SetShellWindow(shell));
        }
        g_desktopTable.RestoreAll();
        g_desktopTable.Reset(4);
    }
    void TearDown() override { g_desktopTable.RestoreAll(); }
};

TEST_F(HungWindowTest, SwitchAwayFromAndBackToAHungWindowReturnsPromptly)
{
    HungThread hung("hung");
    TestWindow mine(kTestWindowClass, "mine", true);
    ASSERT_TRUE(IsWindowVisible(hung.hwnd()));

    hung.Freeze();
    ClearEvents();
    EXPECT_TRUE(ReturnsPromptly(hung, [] { g_desktopTable.SwitchTo(1, NULL); })) << "hiding blocked";
    EXPECT_EQ(2, CTableLists().Windows(0)) << "the hung window is recorded like any other";
    EXPECT_FALSE(mine.IsVisible()) << "own windows are hidden at once";
    EXPECT_EQ(std::vector<std::string>({"hide mine"}), Events());
    hung.Thaw();
    EXPECT_TRUE(WaitForVisibility(hung.hwnd(), false, 5000)) << "hidden once its owner recovers";

    hung.Freeze();
    EXPECT_TRUE(ReturnsPromptly(hung, [] { g_desktopTable.SwitchTo(0, NULL); })) << "showing blocked";
    EXPECT_TRUE(mine.IsVisible());
    hung.Thaw();
    EXPECT_TRUE(WaitForVisibility(hung.hwnd(), true, 5000)) << "shown once its owner recovers";
}

TEST_F(HungWindowTest, RestoringAHungWindowReturnsPromptly)
{
    HungThread hung("hung");
    ASSERT_TRUE(g_desktopTable.SwitchTo(2, NULL));
    ASSERT_TRUE(WaitForVisibility(hung.hwnd(), false, 5000));

    hung.Freeze();
    EXPECT_TRUE(ReturnsPromptly(hung, [] { g_desktopTable.RestoreAll(); }));
    hung.Thaw();
    EXPECT_TRUE(WaitForVisibility(hung.hwnd(), true, 5000));
}

TEST_F(HungWindowTest, ResponsiveWindowsOfOtherThreadsSwitchSynchronously)
{
    HungThread other("other");  // never frozen
    ASSERT_TRUE(g_desktopTable.SwitchTo(1, NULL));
    EXPECT_FALSE(IsWindowVisible(other.hwnd())) << "hidden before the switch returned";
    ASSERT_TRUE(g_desktopTable.SwitchTo(0, NULL));
    EXPECT_TRUE(IsWindowVisible(other.hwnd()));
}

TEST_F(HungWindowTest, HidingTheWindowsOfAnotherThreadActivatesNoneOfThem)
{
    HungThread other("other", 4);  // never frozen
    ASSERT_EQ(other.hwnd(), GetForegroundWindow());
    LONG before = ActivateMessages();
    ASSERT_TRUE(g_desktopTable.SwitchTo(1, NULL));
    EXPECT_LE(ActivateMessages() - before, 1) << "each hide activated the window hidden next";
}

TEST(ForegroundHeir, IsTheBarOnlyWhenItCanBeActivatedElseTheShell)
{
    HWND bar = reinterpret_cast<HWND>(0x10), shell = reinterpret_cast<HWND>(0x20);
    struct Row { HWND bar; bool visible, enabled; LONG exStyle; HWND shell, heir; } rows[] = {
        {bar, true, true, 0, shell, bar},
        {bar, true, true, WS_EX_TOOLWINDOW, NULL, bar},
        {bar, false, true, 0, shell, shell},
        {bar, true, false, 0, shell, shell},
        {bar, true, true, WS_EX_NOACTIVATE, shell, shell},
        {NULL, true, true, 0, shell, shell},
        {bar, true, true, WS_EX_NOACTIVATE, NULL, NULL},
        {NULL, false, false, 0, NULL, NULL},
    };
    for (const Row& r : rows)
        EXPECT_EQ(r.heir, ChooseForegroundHeir(r.bar, r.visible, r.enabled, r.exStyle, r.shell)) << (&r - rows);
}

LONG g_barActivations = 0;
WNDPROC g_barProc = NULL;

LRESULT CALLBACK CountingBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE)
        InterlockedIncrement(&g_barActivations);
    return CallWindowProcA(g_barProc, window, message, wParam, lParam);
}

// The usual case, a visible bar, and a bar that refuses activation, which
// Wine would still activate when the active window is hidden. The bar's
// thread pumps on its own; where the foreground ends up follows Wine's X
// focus as well, late under load, so the bar's activations are counted.
TEST_F(HungWindowTest, TheForegroundGoesToAVisibleBarButNeverToANoActivateOne)
{
    for (LONG exStyle : {0L, static_cast<LONG>(WS_EX_NOACTIVATE)})
    {
        HungThread bar("bar");  // never frozen
        SetWindowLongA(bar.hwnd(), GWL_EXSTYLE, GetWindowLongA(bar.hwnd(), GWL_EXSTYLE) | exStyle);
        g_barProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(bar.hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingBarProc)));
        HungThread other("other", 4);
        ASSERT_EQ(other.hwnd(), GetForegroundWindow());
        InterlockedExchange(&g_barActivations, 0);
        ASSERT_TRUE(g_desktopTable.SwitchTo(1, bar.hwnd()));
        for (int waited = 0; waited < 500 && g_barActivations == 0; waited += 50)
            Sleep(50);
        EXPECT_EQ(exStyle ? 0 : 1, g_barActivations) << exStyle;
        if (exStyle)
            EXPECT_NE(bar.hwnd(), GetForegroundWindow()) << "a no-activate bar kept the foreground";
        g_desktopTable.RestoreAll();
    }
}

// Those of `windows` that are visible, top-most first.
std::vector<HWND> VisibleInZOrder(const std::vector<HWND>& windows)
{
    std::vector<HWND> found = WindowsInEnumOrder(windows);
    found.erase(std::remove_if(found.begin(), found.end(), [](HWND w) { return !IsWindowVisible(w); }),
                found.end());
    return found;
}

TEST_F(HungWindowTest, SwitchBackRestoresTheZOrderAndActivatesOnlyTheFirstRecorded)
{
    HungThread other("other", 4);  // overlapping windows, never frozen
    RegisterTestClass("ZOrderBar", DefWindowProcA, NULL);  // its activations are not counted
    TestWindow bar("ZOrderBar", "bar", true);  // takes the foreground off them, as a bar does
    ASSERT_TRUE(g_desktopTable.SwitchTo(1, bar.hwnd()));
    // The z-order they had when hidden: the switch records top-most first.
    std::vector<HWND> hidden;
    for (int i = 0; i < CTableLists().Windows(0); ++i)
        hidden.push_back(WordToHandle(HandleToWord(CTableLists().Window(0, i))));
    ASSERT_EQ(4u, hidden.size());
    LONG activations = ActivateMessages();
    ASSERT_TRUE(g_desktopTable.SwitchTo(0, bar.hwnd()));
    // Wine brings its own z-order in line with the X server's as the owner
    // handles the X events of the shows: what counts is where it settles.
    std::vector<HWND> shown = VisibleInZOrder(hidden);
    for (int i = 0; i < 20 && shown != hidden; ++i, shown = VisibleInZOrder(hidden))
    {
        SendMessageA(other.hwnd(), WM_NULL, 0, 0);
        PumpMessages(50);
    }
    EXPECT_EQ(hidden, shown);
    EXPECT_EQ(hidden.front(), GetForegroundWindow());
    EXPECT_EQ(1, ActivateMessages() - activations) << "each window shown was activated";
}

TEST_F(HungWindowTest, TooltipsReturnPromptlyWhenAWindowOfThisProcessHangs)
{
    OwnedPager pager;
    ASSERT_NE(nullptr, pager.get());
    HungThread hung("hung title");
    static char text[kTooltipTextSize];
    pager->GetTooltipText(0, text);
    EXPECT_NE(nullptr, strstr(text, "hung title")) << "a responsive thread's title is listed";

    hung.Freeze();
    EXPECT_TRUE(ReturnsPromptly(hung, [&] { pager->GetTooltipText(0, text); })) << "live list blocked";
    EXPECT_NE(nullptr, strstr(text, "hung title")) << "titles are read without asking the window";
    hung.Thaw();

    ASSERT_TRUE(g_desktopTable.SwitchTo(1, NULL));
    ASSERT_TRUE(WaitForVisibility(hung.hwnd(), false, 5000));
    hung.Freeze();
    EXPECT_TRUE(ReturnsPromptly(hung, [&] { pager->GetTooltipText(0, text); })) << "stored list blocked";
    hung.Thaw();
    pager->GetTooltipText(0, text);
    EXPECT_STREQ("* hung title", text);
}

}  // namespace
