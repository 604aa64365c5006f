// A switch among owners that are busy, bars on other threads, and hosts that
// change the table from inside the switch, all through the DLL.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "support/hung_thread.h"
#include "support/pager_module.h"
#include "support/recording_site.h"
#include "support/recording_stream.h"
#include "support/test_window.h"

namespace {

const UINT kWorkMessage = WM_APP + 7;
const DWORD kWorkMs = 8000;  // an application saving its files

// Run on the owner thread when one of its windows is hidden, and as its work.
std::function<void(HWND)> g_onOwnerHide;
std::function<void()> g_onWork;
LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SHOWWINDOW && !wParam && g_onOwnerHide)
        g_onOwnerHide(window);
    if (message == kWorkMessage && g_onWork)
        std::exchange(g_onWork, nullptr)();
    return DefWindowProcA(window, message, wParam, lParam);
}

// A thread owning `count` visible windows, pumping until it is told to quit.
struct OwnerThread
{
    explicit OwnerThread(int count, std::function<void()> setUp = nullptr) : made(count), prepare(setUp)
    {
        ready = CreateEventA(NULL, TRUE, FALSE, NULL);
        thread = CreateThread(NULL, 0, Run, this, 0, &id);
        WaitForSingleObject(ready, 5000);
    }
    ~OwnerThread()
    {
        PostThreadMessageA(id, WM_QUIT, 0, 0);
        WaitForSingleObject(thread, 10000);
        CloseHandle(thread);
        CloseHandle(ready);
    }
    static DWORD WINAPI Run(LPVOID param)
    {
        OwnerThread* self = static_cast<OwnerThread*>(param);
        RegisterTestClass("SwitchOwner", OwnerProc, NULL);
        if (self->prepare)
            self->prepare();
        for (int i = 0; i < self->made; ++i)
            self->windows.push_back(CreateWindowExA(0, "SwitchOwner", "owned", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                                    20 * i, 20 * i, 200, 150, NULL, NULL, NULL, NULL));
        MSG msg;
        PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE);
        SetEvent(self->ready);
        while (GetMessageA(&msg, NULL, 0, 0) > 0)
            DispatchMessageA(&msg);
        for (HWND window : self->windows)
            DestroyWindow(window);
        return 0;
    }
    int made;
    std::function<void()> prepare;
    std::vector<HWND> windows;
    HANDLE ready, thread;
    DWORD id = 0;
};

class SwitchThreadsTest : public ::testing::Test
{
protected:
    PagerModule module;
    RecordingSite site;
    TestWindow bar{"PagerTestBar", "Bar", true};
    IBarPlugin* pager = module.CreatePager();

    void SetUp() override
    {
        PlaceOnBar(pager, site, bar.hwnd());
    }
    void TearDown() override
    {
        g_onOwnerHide = nullptr;
        pager->Release();
    }
    // Milliseconds the click on `cell` took.
    DWORD Click(int cell)
    {
        RECT rect;
        pager->GetItemInfo(kItemRect, cell, &rect);
        DWORD start = GetTickCount();
        pager->OnClick(0, rect.left + 1, rect.top + 1);
        return GetTickCount() - start;
    }
};

TEST_F(SwitchThreadsTest, OwnerBusyAfterItsFirstHideDoesNotHoldTheBar)
{
    OwnerThread owner(5);
    SetForegroundWindow(owner.windows.back());
    // Busy inside its handling of the first hide, the others still to come.
    g_onOwnerHide = [](HWND) {
        g_onOwnerHide = nullptr;
        Sleep(kWorkMs);
    };
    // Half the work: an emulated machine takes seconds for the hides alone.
    EXPECT_LT(Click(1), kWorkMs / 2) << "the bar waited for the owner's work";
    for (HWND window : owner.windows)
        EXPECT_TRUE(WaitForVisibility(window, false, kWorkMs + 4000)) << "hidden once the work is done";
}

TEST_F(SwitchThreadsTest, BarOnAnotherThreadAsksItsPagerFromInsideTheSwitch)
{
    IBarPlugin* second = nullptr;
    std::atomic<int> answers(0);
    OwnerThread other(1, [&] { second = module.CreatePager(); });
    g_onOwnerHide = [&](HWND) {
        BarInfo info = {kInfoWidth, 0, 0, 0, 40, 0, ""};
        char tooltip[kTooltipTextSize];
        answers += second->GetInfo(&info) == 0 && second->GetItemInfo(kItemTooltip, 0, tooltip) == 0;
    };
    EXPECT_LT(Click(1), 2000u);
    EXPECT_EQ(1, answers) << "the switch ended before its hide was carried out";
    EXPECT_TRUE(WaitForVisibility(other.windows[0], false, 2000));
    g_onOwnerHide = nullptr;
    second->Release();
}

// Hosts rebuilding their bars from a message sent during the switch.
TEST_F(SwitchThreadsTest, TableChangedFromInsideTheSwitchForgetsNoWindow)
{
    RecordingStream saved;
    pager->Save(&saved);
    std::vector<std::function<void()>> changes = {
        [&] { module.CreatePager()->Release(); },
        [&] {
            saved.Seek({}, STREAM_SEEK_SET, NULL);
            pager->Load(&saved);
        },
    };
    RegisterTestClass("SwitchOwner", OwnerProc, NULL);
    for (auto& change : changes)
    {
        std::vector<std::unique_ptr<TestWindow>> mine;
        for (const char* title : {"m1", "m2", "m3"})
            mine.emplace_back(new TestWindow("SwitchOwner", title, true));
        g_onOwnerHide = [&](HWND) {
            if (change)
                std::exchange(change, nullptr)();
        };
        Click(1);
        Click(0);
        EXPECT_FALSE(change) << "the host never changed the table";
        for (auto& window : mine)
            EXPECT_TRUE(window->IsVisible()) << "a window hidden by the switch was forgotten";
    }
}

// A bar thread busy while another bar's switch queues a hide to its window,
// then rebuilding its bar before it pumps: the hide must not outlive the
// rebuild's decision to show every window.
TEST_F(SwitchThreadsTest, StaleHideOfABusyOwnerLosesNoWindowToItsRebuiltBar)
{
    IBarPlugin* second = nullptr;
    OwnerThread other(1, [&] { second = module.CreatePager(); });
    HANDLE clicked = CreateEventA(NULL, TRUE, FALSE, NULL), rebuilt = CreateEventA(NULL, TRUE, FALSE, NULL);
    g_onWork = [&] {
        WaitForSingleObject(clicked, 10000);
        second->Release();
        second = module.CreatePager();
        SetEvent(rebuilt);
    };
    PostMessageA(other.windows[0], kWorkMessage, 0, 0);
    Click(1);  // the other thread is taken for hung
    SetEvent(clicked);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(rebuilt, 10000));
    SendMessageA(other.windows[0], WM_NULL, 0, 0);  // it pumps again
    EXPECT_TRUE(IsWindowVisible(other.windows[0])) << "hidden by a request older than the rebuild";
    second->Release();
    CloseHandle(clicked);
    CloseHandle(rebuilt);
}

}  // namespace
