// What hosts and applications do to the pager in the field, replayed through the DLL.
#include <gtest/gtest.h>

#include <string.h>

#include <functional>
#include <string>
#include <utility>

#include "dialog/settings_ids.h"
#include "support/modal_driver.h"
#include "support/pager_module.h"
#include "support/recording_site.h"
#include "support/recording_stream.h"
#include "support/registry_tools.h"
#include "support/state_stream_bytes.h"
#include "support/test_window.h"

namespace {

// What an application does when one of its windows is hidden.
std::function<void()> g_onHide;
LRESULT CALLBACK ReactingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SHOWWINDOW && !wParam && g_onHide)
        std::exchange(g_onHide, nullptr)();
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeWindow(const char* className)
{
    RegisterTestClass(className, ReactingProc, NULL);
    return CreateWindowExA(0, className, "made", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 99, 99, NULL, NULL,
                           GetModuleHandleA(NULL), NULL);
}

// The host: its bar, its site, the pager laid out on the bar, and an application window.
class FieldTest : public ::testing::Test
{
protected:
    PagerModule module;
    RecordingSite site;
    TestWindow bar{"PagerTestBar", "Bar", true}, app{kTestWindowClass, "app", true};
    IBarPlugin* pager = module.CreatePager();

    void SetUp() override
    {
        ASSERT_NE(nullptr, pager);
        PlaceOnBar(pager, site, bar.hwnd());
    }
    void TearDown() override
    {
        if (pager)
            pager->Release();
    }
    void Click(int cell)
    {
        RECT rect;
        pager->GetItemInfo(kItemRect, cell, &rect);
        pager->OnClick(0, rect.left + 1, rect.top + 1);
    }
    // Runs the settings dialog; `act` answers it and ends it.
    void RunSettings(std::function<void(HWND)> act)
    {
        ModalDriver driver;
        driver.Then(DialogCaptioned("Virtual Desktop Plugin v.0.2"), act);
        pager->OnCommand(kCommandSettings);
        EXPECT_TRUE(driver.AllStepsRan());
    }
};

TEST_F(FieldTest, HostLettingGoDuringASwitchLeavesNoWindowHidden)
{
    HWND reacting = MakeWindow("FieldReacting");
    g_onHide = [this] {  // as a bar that closes
        pager->SetSite(NULL);
        pager->Release();
        pager = nullptr;
    };
    Click(1);
    EXPECT_TRUE(IsWindowVisible(reacting) && app.IsVisible());
    EXPECT_EQ(S_OK, module.CanUnloadNow());
    DestroyWindow(reacting);
}

TEST_F(FieldTest, SiteTakenAwayWhileTheSettingsDialogIsOpenStillGetsTheSettingsApplied)
{
    Click(3);
    RunSettings([this](HWND dialog) {
        pager->SetSite(NULL);
        SetDlgItemTextA(dialog, IDC_DESKTOP_COUNT_EDIT, "2");
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    int count = 0;
    pager->GetItemInfo(kItemCount, 0, &count);
    EXPECT_EQ(2, count);
    EXPECT_TRUE(bar.IsVisible() && app.IsVisible());
}

TEST_F(FieldTest, StoredDesktopsBeyondTheCountHoldNoWindow)
{
    IStream* stream = StreamWithBytes(BuildStream(DefaultSettingsBytes(), 3, 5, {{5, {{kNoWindow1}}}}));
    pager->Load(stream);
    stream->Release();
    EXPECT_EQ(108u, SavedBytes(pager).size()) << "the list beyond the count was loaded";
    Click(1);
    Click(0);
    EXPECT_TRUE(app.IsVisible());
}

TEST_F(FieldTest, UnloadingTheModuleUnderALivePagerShowsItsParkedWindows)
{
    Click(1);
    pager = nullptr;  // the host exits without releasing it
    FreeLibrary(module.module());
    PumpMessages(100);
    EXPECT_TRUE(app.IsVisible());
    LoadLibraryA("pager.dll");  // for the fixture's own FreeLibrary
}

TEST_F(FieldTest, ShellWindowsStayOnEveryDesktop)
{
    HWND shell[] = {MakeWindow("Shell_SecondaryTrayWnd"), MakeWindow("WorkerW")};
    char text[kTooltipTextSize];
    pager->GetItemInfo(kItemTooltip, 0, text);
    EXPECT_EQ(nullptr, strstr(text, "made"));
    Click(1);
    EXPECT_TRUE(IsWindowVisible(shell[0]) && IsWindowVisible(shell[1]));
    DestroyWindow(shell[0]);
    DestroyWindow(shell[1]);
}

// A disk that is full after 100 bytes.
struct FullDiskStream : RecordingStream
{
    HRESULT STDMETHODCALLTYPE Write(const void* pv, ULONG cb, ULONG* written) override
    {
        return RecordingStream::Write(pv, position + cb <= 100 ? cb : static_cast<ULONG>(100 - position), written);
    }
};

TEST_F(FieldTest, NullPointersAndAFullDiskAreAnswered)
{
    IClassFactory* factory = NULL;
    EXPECT_EQ(E_POINTER, module.GetClassObject(CLSID_PagerPlugin, IID_IClassFactory, NULL));
    ASSERT_EQ(S_OK, module.GetClassObject(CLSID_PagerPlugin, IID_IClassFactory, (void**)&factory));
    EXPECT_EQ(E_POINTER, factory->QueryInterface(IID_IUnknown, NULL));
    EXPECT_EQ(E_POINTER, factory->CreateInstance(NULL, IID_IUnknown, NULL));
    factory->Release();
    EXPECT_EQ(E_POINTER, pager->QueryInterface(IID_IBarPlugin, NULL));
    EXPECT_EQ(0, pager->SetRect(NULL) | pager->SetHostValue2(1, NULL) | pager->Paint(NULL, NULL));
    EXPECT_EQ(0, pager->GetInfo(NULL));
    for (int type : {kItemCount, kItemRect, kItemTooltip})
        EXPECT_EQ(1, pager->GetItemInfo(type, 0, NULL));
    FullDiskStream full;
    EXPECT_EQ(STG_E_MEDIUMFULL, pager->Save(&full));
}

DWORD WINAPI CountOnThread(LPVOID pager)
{
    int count = 0;
    char tooltip[kTooltipTextSize];
    IBarPlugin* asked = static_cast<IBarPlugin*>(pager);
    return asked->GetItemInfo(kItemCount, 0, &count) + asked->GetItemInfo(kItemTooltip, 0, tooltip);
}

TEST_F(FieldTest, AnotherThreadIsAnsweredInTheMiddleOfTheSwitch)
{
    HWND reacting = MakeWindow("FieldReacting");
    HANDLE asker = NULL;
    DWORD duringSwitch = WAIT_FAILED;
    g_onHide = [&] {
        asker = CreateThread(NULL, 0, CountOnThread, pager, 0, NULL);
        duringSwitch = WaitForSingleObject(asker, 2000);
    };
    Click(1);
    EXPECT_EQ(WAIT_OBJECT_0, duringSwitch) << "the other thread waited for the switch";
    CloseHandle(asker);
    DestroyWindow(reacting);
}

TEST_F(FieldTest, UnregisteringACopyOfTheModuleLeavesTheRegisteredOne)
{
    ASSERT_EQ(S_OK, module.RegisterServer());
    char path[MAX_PATH];
    GetModuleFileNameA(module.module(), path, MAX_PATH);
    std::string copy = std::string(path) + "-copy.dll";
    ASSERT_TRUE(CopyFileA(path, copy.c_str(), FALSE));
    EXPECT_EQ(S_OK, PagerModule(copy.c_str()).UnregisterServer());
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kPagerClassKey));
    DeleteFileA(copy.c_str());
    RemovePagerRegistration();
}

// Colour questions; Wine ends a round that would not end after 64 nested calls.
int g_colourQuestions = 0;
LRESULT CALLBACK CountColourQuestions(int code, WPARAM wParam, LPARAM lParam)
{
    g_colourQuestions += code >= 0 && reinterpret_cast<CWPSTRUCT*>(lParam)->message == WM_CTLCOLORSTATIC;
    return CallNextHookEx(NULL, code, wParam, lParam);
}

TEST_F(FieldTest, DisabledComboBoxColourQuestionDoesNotGoRound)
{
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, CountColourQuestions, NULL, GetCurrentThreadId());
    RunSettings([](HWND dialog) {
        HWND combo = GetDlgItem(dialog, IDC_FONT_COMBO);
        EnableWindow(combo, FALSE);
        g_colourQuestions = 0;
        RedrawWindow(combo, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        EXPECT_LT(g_colourQuestions, 8);
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    UnhookWindowsHookEx(hook);
}

TEST_F(FieldTest, RecoveryShowsOnlyWindowsThePagerParked)
{
    TestWindow tray(kTestWindowClass, "tray program", true);
    Click(1);
    Click(0);
    ShowWindow(tray.hwnd(), SW_HIDE);  // the program keeps its window in the tray now
    Click(1);
    typedef void(CALLBACK * RecoverProc)(HWND, HINSTANCE, LPSTR, int);
    char all[] = "/all";
    reinterpret_cast<RecoverProc>(reinterpret_cast<void*>(GetProcAddress(module.module(), "RecoverWindows")))(
        NULL, NULL, all, SW_SHOWNORMAL);
    EXPECT_TRUE(app.IsVisible() && !tray.IsVisible());
}

}  // namespace
