// The global keys, pressed as a user presses them: SendInput makes the
// system deliver WM_HOTKEY to the pager's key window.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "core/desktop_table.h"
#include "core/key_commands.h"
#include "dialog/keys_dialog.h"
#include "plugin/hot_keys.h"
#include "support/event_log.h"
#include "support/hung_thread.h"
#include "support/key_press.h"
#include "support/owned_pager.h"
#include "support/recording_site.h"
#include "support/test_window.h"
#include "tests/support/table_lists.h"

namespace {

const HotKey kCtrlAlt = (HOTKEYF_CONTROL | HOTKEYF_ALT) << 8;
const HotKey kArrow = HOTKEYF_EXT << 8;
const HotKey kShift = HOTKEYF_SHIFT << 8;

void Press(HotKey key)
{
    ASSERT_TRUE(PressHotKey(key)) << "no WM_HOTKEY came";
    PumpMessages(50);
}

class HotKeyTest : public ::testing::Test
{
protected:
    TestWindow bar{"PagerTestBar", "Bar", true};
    RecordingSite site;
    std::unique_ptr<OwnedPager> pager{new OwnedPager()};
    KeyBindings keys;

    void SetUp() override
    {
        DefaultKeyBindings(&keys);
        SaveKeyBindings(keys);
        g_desktopTable.RestoreAll();
        g_desktopTable.Reset(6);
        site.barWindow = bar.hwnd();
        (*pager)->settings.columns = 3;
        (*pager)->SetSite(&site);
        (*pager)->columnsInUse = 3;
        ClearEvents();
    }
    void TearDown() override
    {
        pager.reset();
        g_desktopTable.RestoreAll();
        DefaultKeyBindings(&keys);
        SaveKeyBindings(keys);
    }
    // Saves `keys` with `command` set to `key`, and has them registered.
    void Bind(int command, HotKey key)
    {
        keys.keys[command] = key;
        SaveKeyBindings(keys);
        HotKeyRegistrar().Apply(keys);
    }
    int StateChanges() const
    {
        std::vector<std::string> events = Events();
        return static_cast<int>(std::count(events.begin(), events.end(), "site.OnStateChanged"));
    }
};

TEST_F(HotKeyTest, ArrowKeysWalkAThreeColumnGridAndStopAtItsEdges)
{
    struct
    {
        HotKey key;
        int current;
    } steps[] = {
        {VK_LEFT, 0}, {VK_UP, 0}, {VK_RIGHT, 1}, {VK_DOWN, 4}, {VK_DOWN, 4},
        {VK_RIGHT, 5}, {VK_RIGHT, 5}, {VK_UP, 2}, {VK_LEFT, 1},
    };
    int moves = 0;
    for (const auto& step : steps)
    {
        int before = g_desktopTable.Current();
        Press(kCtrlAlt | kArrow | step.key);
        EXPECT_EQ(step.current, g_desktopTable.Current()) << "key " << step.key << " from " << before;
        moves += step.current != before;
    }
    EXPECT_EQ(moves, StateChanges()) << "the host is told of every move, and only of moves";

    Bind(kGoToDesktop1 + 3, kCtrlAlt | kShift | '4');
    Press(kCtrlAlt | kShift | '4');
    EXPECT_EQ(3, g_desktopTable.Current());
    Bind(kGoToDesktop1 + 7, kCtrlAlt | kShift | '8');
    Press(kCtrlAlt | kShift | '8');
    EXPECT_EQ(3, g_desktopTable.Current()) << "desktop 8 lies beyond the count";
}

TEST_F(HotKeyTest, SendAndCarryTakeTheActiveWindowWithItsDialog)
{
    TestWindow other(kTestWindowClass, "other", true);
    TestWindow editor(kTestWindowClass, "editor", true);
    HWND dialog = CreateWindowExA(0, kTestWindowClass, "find", WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0, 50, 50,
                                  editor.hwnd(), NULL, GetModuleHandleA(NULL), NULL);
    SetForegroundWindow(dialog);
    Bind(kSendToDesktop1 + 2, kCtrlAlt | kShift | '3');

    Press(kCtrlAlt | kShift | '3');
    EXPECT_EQ(0, g_desktopTable.Current()) << "sending leaves the user here";
    EXPECT_FALSE(editor.IsVisible() || IsWindowVisible(dialog));
    EXPECT_TRUE(other.IsVisible());
    EXPECT_EQ(other.hwnd(), GetForegroundWindow());
    CTableLists lists;
    ASSERT_EQ(2, lists.Windows(2));
    EXPECT_TRUE(lists.Window(2, 0) == dialog && lists.Window(2, 1) == editor.hwnd()) << "first on the list";
    EXPECT_EQ(1, StateChanges());

    // Carrying goes along: from desktop 3, the user and the editor go to 4.
    (*pager)->MoveToDesktop(2, NULL, kSwitchDesktop);
    EXPECT_TRUE(editor.IsVisible() && IsWindowVisible(dialog) && !other.IsVisible());
    EXPECT_EQ(dialog, GetForegroundWindow()) << "in front and active";
    ClearEvents();
    Press(kCtrlAlt | kShift | kArrow | VK_RIGHT);
    EXPECT_EQ(3, g_desktopTable.Current());
    EXPECT_TRUE(editor.IsVisible() && IsWindowVisible(dialog));
    EXPECT_EQ(editor.hwnd(), GetAncestor(GetForegroundWindow(), GA_ROOTOWNER));
    EXPECT_EQ(std::vector<std::string>{}, EventsWithPrefix("hide ")) << "a carried window is never hidden";
    DestroyWindow(dialog);
}

TEST_F(HotKeyTest, SendTakesAWindowOfAnotherThread)
{
    TestWindow stays(kTestWindowClass, "stays", true);
    HungThread owner("of another thread");
    SetForegroundWindow(owner.hwnd());
    Bind(kSendToDesktop1 + 1, kCtrlAlt | kShift | '2');
    Press(kCtrlAlt | kShift | '2');
    EXPECT_TRUE(WaitForVisibility(owner.hwnd(), false, 1000));
    EXPECT_EQ(owner.hwnd(), CTableLists().Window(1, 0));
    (*pager)->MoveToDesktop(1, NULL, kSwitchDesktop);
    EXPECT_TRUE(WaitForVisibility(owner.hwnd(), true, 1000));
}

TEST_F(HotKeyTest, APinnedWindowStaysThroughSwitchesAReleaseAndANewPager)
{
    TestWindow note(kTestWindowClass, "note", true);
    TestWindow plain(kTestWindowClass, "plain", true);
    SetForegroundWindow(note.hwnd());
    Bind(kPinWindow, kCtrlAlt | kShift | 'P');
    Press(kCtrlAlt | kShift | 'P');
    Press(kCtrlAlt | kArrow | VK_RIGHT);
    EXPECT_TRUE(note.IsVisible() && !plain.IsVisible());

    pager.reset(new OwnedPager());
    (*pager)->SetSite(&site);
    (*pager)->columnsInUse = 3;
    g_desktopTable.Reset(6);
    Press(kCtrlAlt | kArrow | VK_RIGHT);
    EXPECT_EQ(1, g_desktopTable.Current());
    EXPECT_TRUE(note.IsVisible()) << "a new pager honours the pin";

    SetForegroundWindow(note.hwnd());
    Press(kCtrlAlt | kShift | 'P');  // unpinned, it stays here
    Press(kCtrlAlt | kArrow | VK_RIGHT);
    EXPECT_FALSE(note.IsVisible());
}

struct TakenCombination
{
    DWORD thread;
    HANDLE done;
    static DWORD WINAPI Hold(LPVOID param)
    {
        auto* self = static_cast<TakenCombination*>(param);
        RegisterHotKey(NULL, 7, MOD_CONTROL | MOD_ALT, VK_RIGHT);
        WaitForSingleObject(self->done, INFINITE);
        // Wine's server may keep a thread's key past the thread's end.
        UnregisterHotKey(NULL, 7);
        return 0;
    }
};

TEST_F(HotKeyTest, TwoPagersRegisterOnceATakenKeyIsReportedAndTheLastReleaseFreesThem)
{
    // The first pager holds the keys: another registration of one fails.
    EXPECT_FALSE(RegisterHotKey(NULL, 1, MOD_CONTROL | MOD_ALT, VK_RIGHT));
    EXPECT_EQ(ERROR_HOTKEY_ALREADY_REGISTERED, GetLastError());
    RecordingSite secondSite;
    secondSite.barWindow = bar.hwnd();
    std::unique_ptr<OwnedPager> second(new OwnedPager());
    (*second)->SetSite(&secondSite);
    pager.reset();  // the keys go to the second pager
    EXPECT_FALSE(RegisterHotKey(NULL, 1, MOD_CONTROL | MOD_ALT, VK_RIGHT));
    second.reset();
    EXPECT_TRUE(RegisterHotKey(NULL, 1, MOD_CONTROL | MOD_ALT, VK_RIGHT)) << "the last release unregisters";
    UnregisterHotKey(NULL, 1);

    // A combination held elsewhere is reported; the other keys still work.
    TakenCombination holder = {0, CreateEventA(NULL, TRUE, FALSE, NULL)};
    HANDLE thread = CreateThread(NULL, 0, TakenCombination::Hold, &holder, 0, NULL);
    Sleep(100);
    pager.reset(new OwnedPager());
    (*pager)->SetSite(&site);
    bool taken[kKeyCommandCount];
    HotKeyRegistrar().QueryTaken(taken);
    EXPECT_TRUE(taken[kNextDesktop]);
    EXPECT_FALSE(taken[kPreviousDesktop] || taken[kDesktopBelow]);
    (*pager)->columnsInUse = 3;
    Press(kCtrlAlt | kArrow | VK_DOWN);
    EXPECT_EQ(3, g_desktopTable.Current());
    SetEvent(holder.done);
    WaitForSingleObject(thread, 5000);
    CloseHandle(thread);
    CloseHandle(holder.done);
}

}  // namespace
