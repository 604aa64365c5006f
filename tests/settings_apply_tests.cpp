// Applying accepted settings to the pager and the desktop table, with the
// windows that a shrink moves between desktops.
#include <gtest/gtest.h>
#include <windows.h>

#include <string.h>
#include <memory>
#include <string>
#include <vector>

#include "colorpicker/color_button_messages.h"
#include "core/desktop_table.h"
#include "dialog/settings_ids.h"
#include "plugin/pager_plugin.h"
#include "support/event_log.h"
#include "support/lock_probe.h"
#include "support/modal_driver.h"
#include "support/recording_site.h"
#include "support/test_window.h"
#include "unit_module.h"

namespace {

const char kCaption[] = "Virtual Desktop Plugin v.0.2";

void SetDesktops(HWND dialog, const char* count)
{
    SetDlgItemTextA(dialog, IDC_DESKTOP_COUNT_EDIT, count);
}

void PressOk(HWND dialog)
{
    SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
}

class SettingsApplyTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        UseTestProgramAsModule();
        pager = CreatePagerPlugin();
        ASSERT_NE(nullptr, pager);
        site.barWindow = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 80, 20, barTop.hwnd(), NULL,
                                         GetModuleHandleA(NULL), NULL);
        pager->SetSite(&site);
    }
    void TearDown() override
    {
        if (pager)
            pager->Release();
        SetModuleInstance(GetModuleHandleA(NULL));
    }

    // Five desktops: "d0" remembered on 0, "d3" on 3, "d4" visible on `current`.
    void FiveDesktopsWithWindows(int current)
    {
        pager->settings.desktopCount = 5;
        g_desktopTable.ChangeCount(5);
        d0.reset(new TestWindow(kTestWindowClass, "d0", true));
        g_desktopTable.SwitchTo(3, barTop.hwnd());
        d3.reset(new TestWindow(kTestWindowClass, "d3", true));
        g_desktopTable.SwitchTo(current, barTop.hwnd());
        d4.reset(new TestWindow(kTestWindowClass, "d4", true));
        ClearEvents();
    }

    // Runs `entry` while a driver answers the dialog with `act`.
    void WithDialog(std::function<void(HWND)> act, std::function<void()> entry)
    {
        ModalDriver driver;
        driver.Then(DialogCaptioned(kCaption), act);
        entry();
        EXPECT_TRUE(driver.AllStepsRan());
        EXPECT_FALSE(driver.GaveUp());
    }

    CPagerPlugin* pager = NULL;
    TestWindow barTop{kTestWindowClass, "bar", true};
    RecordingSite site;
    std::unique_ptr<TestWindow> d0, d3, d4;
};

TEST_F(SettingsApplyTest, ShrinkGoesToDesktopZeroThenBringsBackTheDroppedDesktops)
{
    FiveDesktopsWithWindows(4);
    WithDialog(
        [](HWND dialog) {
            SetDesktops(dialog, "3");
            PressOk(dialog);
        },
        [&] { EXPECT_EQ(0, pager->OnCommand(1)); });
    EXPECT_EQ((std::vector<std::string>{"site.GetBarWindow", "site.GetBarWindow", "hide d4", "show d0", "show d3",
                                        "show d4", "site.Refresh(3)", "site.OnStateChanged"}),
              Events());
    EXPECT_EQ(0, g_desktopTable.Current());
    EXPECT_EQ(3, g_desktopTable.Count());
    EXPECT_EQ(3, pager->settings.desktopCount);
    EXPECT_TRUE(d0->IsVisible() && d3->IsVisible() && d4->IsVisible());
}

TEST_F(SettingsApplyTest, ShrinkFromAnotherDesktopAlsoGoesToZeroFirst)
{
    FiveDesktopsWithWindows(1);  // "d4" lives on desktop 1 here
    WithDialog(
        [](HWND dialog) {
            SetDesktops(dialog, "3");
            PressOk(dialog);
        },
        [&] { pager->OnCommand(1); });
    EXPECT_EQ((std::vector<std::string>{"site.GetBarWindow", "site.GetBarWindow", "hide d4", "show d0", "show d3",
                                        "site.Refresh(3)", "site.OnStateChanged"}),
              Events());
    EXPECT_EQ(0, g_desktopTable.Current());
    EXPECT_FALSE(d4->IsVisible());  // remembered on desktop 1, which stays
}

TEST_F(SettingsApplyTest, ConfigureAlsoGoesToDesktopZeroBeforeAShrink)
{
    FiveDesktopsWithWindows(4);
    IStream* stream = NULL;
    CreateStreamOnHGlobal(NULL, TRUE, &stream);
    WithDialog(
        [](HWND dialog) {
            SetDesktops(dialog, "3");
            PressOk(dialog);
        },
        [&] { EXPECT_EQ(0, pager->Configure(stream)); });
    EXPECT_EQ((std::vector<std::string>{"site.GetBarWindow", "site.GetBarWindow", "hide d4", "show d0", "show d3",
                                        "show d4"}),
              Events());
    EXPECT_EQ(0, g_desktopTable.Current());
    EXPECT_EQ(3, g_desktopTable.Count());
    stream->Release();
}

TEST_F(SettingsApplyTest, CurrentDesktopBeyondTheNewCountIsLeftEvenWithoutAShrink)
{
    // The table went further than the settings say, as a damaged stream could leave it.
    FiveDesktopsWithWindows(4);
    pager->settings.desktopCount = 3;
    WithDialog(
        [](HWND dialog) {
            SetDesktops(dialog, "3");
            PressOk(dialog);
        },
        [&] { pager->OnCommand(1); });
    EXPECT_EQ(0, g_desktopTable.Current());
    EXPECT_TRUE(d4->IsVisible());
}

TEST_F(SettingsApplyTest, LockIsHeldOnlyWhileApplying)
{
    FiveDesktopsWithWindows(4);
    std::vector<std::string> lockStates;
    site.onCall = [&](const char* call) {
        lockStates.push_back(std::string(call) + (LockIsFree(pager->lock.Raw(), INFINITE) ? " free" : " held"));
    };
    WithDialog(
        [&](HWND dialog) {
            lockStates.push_back(LockIsFree(pager->lock.Raw(), INFINITE) ? "dialog free" : "dialog held");
            SetDesktops(dialog, "3");
            PressOk(dialog);
        },
        [&] { pager->OnCommand(1); });
    site.onCall = nullptr;
    EXPECT_EQ((std::vector<std::string>{"site.GetBarWindow free", "dialog free", "site.GetBarWindow held",
                                        "site.Refresh(3) free", "site.OnStateChanged free"}),
              lockStates);
}

TEST_F(SettingsApplyTest, OkTakesOverTheWholeRecordAndCancelNothing)
{
    PagerSettings before = pager->settings;
    WithDialog(
        [](HWND dialog) {
            SetDesktops(dialog, "6");
            SetDlgItemTextA(dialog, IDC_COLUMNS_EDIT, "3");
            SendDlgItemMessageA(dialog, IDC_HOVER_COLOR, CBM_SETCOLOR, RGB(9, 8, 7), 0);
            SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        },
        [&] { pager->OnCommand(1); });
    EXPECT_EQ(0, memcmp(&before, &pager->settings, sizeof(before)));
    EXPECT_EQ(4, g_desktopTable.Count());

    WithDialog(
        [](HWND dialog) {
            SetDesktops(dialog, "6");
            SetDlgItemTextA(dialog, IDC_COLUMNS_EDIT, "3");
            SendDlgItemMessageA(dialog, IDC_HOVER_COLOR, CBM_SETCOLOR, RGB(9, 8, 7), 0);
            SendDlgItemMessageA(dialog, IDC_FONT_COMBO, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
            PressOk(dialog);
        },
        [&] { pager->OnCommand(1); });
    PagerSettings expected = before;
    expected.desktopCount = 6;
    expected.columns = 3;
    expected.hoverColor = RGB(9, 8, 7);
    memset(expected.faceName, 0, sizeof(expected.faceName));
    EXPECT_EQ(0, memcmp(&expected, &pager->settings, sizeof(expected)));
    EXPECT_EQ(6, g_desktopTable.Count());
}

TEST_F(SettingsApplyTest, TemplateFoundNowhereAppliesNothingButConfigureStillSaves)
{
    HMODULE noTemplates = GetModuleHandleA("kernel32.dll");
    ASSERT_EQ(nullptr, FindResourceA(noTemplates, "#101", RT_DIALOG));
    SetModuleInstance(noTemplates);
    pager->resourceInstance = noTemplates;
    ClearEvents();
    EXPECT_EQ(0, pager->OnCommand(1));
    EXPECT_EQ(std::vector<std::string>{"site.GetBarWindow"}, Events());
    IStream* stream = NULL;
    CreateStreamOnHGlobal(NULL, TRUE, &stream);
    EXPECT_EQ(0, pager->Configure(stream));
    stream->Release();
}

}  // namespace
