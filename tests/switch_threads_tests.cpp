// A switch among owners that are busy, bars on other threads, and hosts that
// change the table from inside the switch, all through the DLL.
#include <gtest/gtest.h>

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

// Runs on the owner thread when one of its windows is hidden.
std::function<void(HWND)> g_onOwnerHide;
LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SHOWWINDOW && !wParam && g_onOwnerHide)
        g_onOwnerHide(window);
    if (message == kWorkMessage)
        Sleep(static_cast<DWORD>(wParam));  // an application saving its files
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
    g_onOwnerHide = [](HWND window) {
        PostMessageA(window, kWorkMessage, kWorkMs, 0);
        g_onOwnerHide = nullptr;
    };
    // Half the work: an emulated machine takes seconds for the hides alone.
    EXPECT_LT(Click(1), kWorkMs / 2) << "the bar waited for the owner's work";
    for (HWND window : owner.windows)
        EXPECT_TRUE(WaitForVisibility(window, false, kWorkMs + 4000)) << "hidden once the work is done";
}

TEST_F(SwitchThreadsTest, BarOnAnotherThreadAsksItsPagerFromInsideTheSwitch)
{
    IBarPlugin* second = nullptr;
    int answers = 0;
    OwnerThread other(1, [&] { second = module.CreatePager(); });
    g_onOwnerHide = [&](HWND) {
        BarInfo info = {kInfoWidth, 0, 0, 0, 40, 0, ""};
        char tooltip[kTooltipTextSize];
        answers += second->GetInfo(&info) == 0 && second->GetItemInfo(kItemTooltip, 0, tooltip) == 0;
    };
    EXPECT_LT(Click(1), 2000u);
    EXPECT_TRUE(WaitForVisibility(other.windows[0], false, 2000));
    EXPECT_EQ(1, answers);
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
        for (auto& window : mine)
            EXPECT_TRUE(window->IsVisible()) << "a window hidden by the switch was forgotten";
    }
}

}  // namespace
