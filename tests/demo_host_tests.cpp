// The demo host run as a process of its own with the built pager, as a user runs it.
#include <gtest/gtest.h>

#include <objbase.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

#include "host/demo_bar.h"
#include "support/demo_host_process.h"
#include "support/pager_module.h"
#include "support/recording_stream.h"
#include "support/registry_tools.h"
#include "support/test_window.h"

namespace {

// What a pager of this build writes into a stream after loading `state`
// (nothing loaded when it is empty), with no window remembered.
std::string SavedByPager(const std::string& state)
{
    PagerModule module;
    IBarPlugin* pager = module.CreatePager();
    if (!pager)
        return "(no pager)";
    if (!state.empty())
    {
        IStream* input = StreamWithBytes(std::vector<unsigned char>(state.begin(), state.end()));
        pager->Load(input);
        input->Release();
    }
    std::vector<unsigned char> saved = SavedBytes(pager);
    pager->Release();
    return std::string(saved.begin(), saved.end());
}

// A state stream of 6 desktops in 3 columns, desktop 3 current, no windows.
std::string CraftedState()
{
    std::string state(108, '\0');
    auto put = [&state](size_t offset, int32_t value) { memcpy(&state[offset], &value, 4); };
    put(0, 1);
    put(4, 60);
    put(8, 3);
    put(12, 6);
    put(16, 0x0000FF00);
    put(20, 0x00808080);
    put(24, 0x00D3D3D3);
    put(28, 0x00FFFFFF);
    memcpy(&state[32], "Tahoma", 6);
    put(64, 6);
    put(68, 2);
    return state;
}

class DemoHostTest : public ::testing::Test
{
protected:
    std::string statePath = TempFilePath("demo-host-test.state");
    void TearDown() override
    {
        DeleteFileA(statePath.c_str());
        RemovePagerRegistration();
    }
};

TEST_F(DemoHostTest, ShowsThePagerInAThinTopmostBarAndSavesItsStateOnExit)
{
    DemoHostProcess host;
    ASSERT_TRUE(host.Start("--dll pager.dll --height 30 --state \"" + statePath + "\""));
    HWND bar = host.WaitForBar();
    ASSERT_NE((HWND)NULL, bar);

    RECT rect;
    GetWindowRect(bar, &rect);
    EXPECT_EQ(30, rect.bottom - rect.top);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), rect.right - rect.left);
    RECT workArea;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    EXPECT_EQ(workArea.bottom, rect.bottom) << "the bar lies along the bottom of the screen";
    EXPECT_TRUE(GetWindowLongA(bar, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ((HWND)NULL, GetParent(bar));
    HWND tooltip = host.FindWindowOfClass("tooltips_class32");
    ASSERT_NE((HWND)NULL, tooltip);
    EXPECT_EQ(bar, GetWindow(tooltip, GW_OWNER));

    // The host's order of calls before the first paint.
    ASSERT_NE("", host.WaitForLog("Paint at "));
    int created = host.LogIndex(std::string("created from the DLL ") + kPagerClassText);
    int site = host.LogIndex("SetSite");
    int setRect = host.LogIndex("SetRect ");
    int resources = host.LogIndex("SetResourceInstance");
    int noState = host.LogIndex("no saved state");
    int width = host.LogIndex("GetInfo(height 30)");
    int paint = host.LogIndex("Paint at ");
    EXPECT_TRUE(created >= 0 && created < site && site < setRect && setRect < resources &&
                resources < noState && noState < width && width < paint)
        << created << " " << site << " " << setRect << " " << resources << " " << noState << " " << width
        << " " << paint;

    EXPECT_EQ(0u, host.CloseAndWait());
    EXPECT_LT(host.LogIndex("Save: "), host.LogIndex("Release: 0"));
    EXPECT_GE(host.LogIndex("module unloaded"), 0);
    EXPECT_EQ(SavedByPager(""), ReadFileBytes(statePath));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((statePath + ".part").c_str()));
}

TEST_F(DemoHostTest, HandsTheStateFileToLoadAndKeepsWhatSaveWrites)
{
    std::string state = CraftedState();
    WriteFileBytes(statePath, state);
    DemoHostProcess host;
    ASSERT_TRUE(host.Start("--dll pager.dll --state \"" + statePath + "\""));
    ASSERT_NE((HWND)NULL, host.WaitForBar());
    EXPECT_NE("", host.WaitForLog("Load: 108 bytes"));
    EXPECT_LT(host.LogIndex("Load: "), host.LogIndex("GetInfo("));
    EXPECT_EQ(0u, host.CloseAndWait());
    EXPECT_EQ(SavedByPager(state), ReadFileBytes(statePath));
}

TEST_F(DemoHostTest, FindsThePagerThroughThePluginCategoryOnlyWhenRegistered)
{
    {
        DemoHostProcess host;
        ASSERT_TRUE(host.Start("--state \"" + statePath + "\""));
        EXPECT_EQ(1u, host.WaitForExit());  // after its message box is dismissed
        EXPECT_GE(host.LogIndex("error: No plug-in is registered"), 0);
    }
    PagerModule module;
    ASSERT_EQ(S_OK, module.RegisterServer());
    DemoHostProcess host;
    ASSERT_TRUE(host.Start("--state \"" + statePath + "\""));
    ASSERT_NE((HWND)NULL, host.WaitForBar());
    EXPECT_GE(host.LogIndex(std::string("category lists ") + kPagerClassText), 0);
    EXPECT_GE(host.LogIndex(std::string("created ") + kPagerClassText), 0);
    EXPECT_EQ(0u, host.CloseAndWait());
    EXPECT_GE(host.LogIndex("Release: 0"), 0);
}

TEST_F(DemoHostTest, SettingsCommandReachesThePagerWithTheUpDownClassRegistered)
{
    DemoHostProcess host;
    ASSERT_TRUE(host.Start("--dll pager.dll --state \"" + statePath + "\""));
    HWND bar = host.WaitForBar();
    ASSERT_NE((HWND)NULL, bar);
    PostMessageA(bar, WM_COMMAND, kMenuSettings, 0);
    ASSERT_NE("", host.WaitForLog("OnCommand(1)"));

    // A settings dialog, if the pager shows one, has its up-down control and
    // is cancelled; the command then returns. The dialog window exists before
    // its controls do: it is looked at once it is shown, after WM_INITDIALOG.
    bool returned = false;
    for (int i = 0; i < 200 && !returned; ++i)
    {
        HWND dialog = host.FindWindowOfClass("#32770");
        if (dialog && IsWindowVisible(dialog))
        {
            EXPECT_NE((HWND)NULL, FindWindowExA(dialog, NULL, "msctls_updown32", NULL));
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        }
        returned = host.LogIndex("OnCommand(1) returned 0") >= 0;
        if (!returned)
            PumpMessages(50);
    }
    EXPECT_TRUE(returned);
    EXPECT_EQ(0u, host.CloseAndWait());
}

TEST_F(DemoHostTest, ClickOnACellSwitchesDesktopsAndExitShowsTheWindowsAgain)
{
    TestWindow window(kTestWindowClass, "parked by the demo host", true);
    DemoHostProcess host;
    ASSERT_TRUE(host.Start("--dll pager.dll --state \"" + statePath + "\""));
    ASSERT_NE((HWND)NULL, host.WaitForBar());
    ASSERT_TRUE(host.ClickCell(2));
    ASSERT_NE("", host.WaitForLog("Save: "));  // OnStateChanged saves
    PumpMessages(200);
    EXPECT_FALSE(window.IsVisible());
    EXPECT_LT(host.LogIndex("OnMouseMove"), host.LogIndex("OnClick"));
    EXPECT_LT(host.LogIndex("OnClick"), host.LogIndex("site.OnStateChanged"));

    EXPECT_EQ(0u, host.CloseAndWait());
    PumpMessages(200);
    EXPECT_TRUE(window.IsVisible());
}

}  // namespace
