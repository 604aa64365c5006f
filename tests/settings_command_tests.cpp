// The settings command and Configure, driven through the DLL as a host does:
// the dialog runs inside OnCommand/Configure and is answered from its loop.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string.h>
#include <string>
#include <vector>

#include "colorpicker/color_button_messages.h"
#include "dialog/settings_ids.h"
#include "support/event_log.h"
#include "support/modal_driver.h"
#include "support/pager_module.h"
#include "support/recording_site.h"
#include "support/recording_stream.h"
#include "support/scope_exit.h"
#include "support/test_window.h"

namespace {

const char kCaption[] = "Virtual Desktop Plugin v.0.2";
const int kSaveSlot = 4;
const int kTableSlots = 27;

// Puts a recorder into the pager's Save slot: Configure must reach Save
// through the object's interface table.
typedef HRESULT(STDMETHODCALLTYPE* SaveFn)(IBarPlugin*, IStream*);
SaveFn g_originalSave = NULL;
std::vector<IStream*> g_savedInto;
HRESULT STDMETHODCALLTYPE RecordingSave(IBarPlugin* self, IStream* stream)
{
    LogEvent("pager.Save");
    g_savedInto.push_back(stream);
    return g_originalSave(self, stream);
}

class SaveHook
{
public:
    explicit SaveHook(IBarPlugin* hooked) : pager(hooked)
    {
        original = *reinterpret_cast<void***>(pager);
        memcpy(table, original, sizeof(table));
        g_originalSave = reinterpret_cast<SaveFn>(table[kSaveSlot]);
        table[kSaveSlot] = reinterpret_cast<void*>(RecordingSave);
        *reinterpret_cast<void***>(pager) = table;
        g_savedInto.clear();
    }
    ~SaveHook() { *reinterpret_cast<void***>(pager) = original; }

private:
    IBarPlugin* pager;
    void** original;
    void* table[kTableSlots];
};

class SettingsCommandTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_UPDOWN_CLASS};
        InitCommonControlsEx(&controls);
        ASSERT_NE(nullptr, module.module());
        pager = module.CreatePager();
        ASSERT_NE(nullptr, pager);
        barWindow = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 20, 5, 100, 20, barTop.hwnd(), NULL,
                                    GetModuleHandleA(NULL), NULL);
        site.barWindow = barWindow;
        pager->SetSite(&site);
        ClearEvents();
    }
    void TearDown() override
    {
        if (pager)
            pager->Release();
    }

    // The bytes a direct Save writes now.
    std::vector<unsigned char> SavedNow() { return SavedBytes(pager); }

    int DesktopCount(IBarPlugin* which = NULL)
    {
        int count = -1;
        (which ? which : pager)->GetItemInfo(1, 0, &count);
        return count;
    }

    // A driver that answers the settings dialog with `act` and records that it was there.
    void Answer(ModalDriver& driver, std::function<void(HWND)> act)
    {
        driver.Then(DialogCaptioned(kCaption), [this, act](HWND dialog) {
            dialogShown = true;
            act(dialog);
        });
    }
    static void Cancel(HWND dialog) { SendMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0); }
    static void Ok(HWND dialog) { SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0); }
    static std::function<void(HWND)> OkWithDesktops(const char* count)
    {
        std::string text = count;
        return [text](HWND dialog) {
            SetDlgItemTextA(dialog, IDC_DESKTOP_COUNT_EDIT, text.c_str());
            Ok(dialog);
        };
    }

    PagerModule module;
    IBarPlugin* pager = NULL;
    TestWindow barTop{kTestWindowClass, "Quorvane bar", true};
    HWND barWindow = NULL;
    RecordingSite site;
    bool dialogShown = false;
};

TEST_F(SettingsCommandTest, OnlyTheSettingsCommandOpensTheDialog)
{
    ModalDriver driver;
    Answer(driver, Cancel);
    EXPECT_EQ(0, pager->OnCommand(0));
    EXPECT_EQ(0, pager->OnCommand(2));
    PumpMessages(50);
    EXPECT_FALSE(dialogShown);
    EXPECT_TRUE(Events().empty());
}

TEST_F(SettingsCommandTest, WithoutASiteNothingOpens)
{
    pager->SetSite(NULL);
    IStream* stream = StreamWithBytes({});
    ModalDriver driver;
    Answer(driver, Cancel);
    EXPECT_EQ(0, pager->OnCommand(1));
    EXPECT_EQ(1, pager->Configure(stream));
    PumpMessages(50);
    EXPECT_FALSE(dialogShown);
    EXPECT_TRUE(StreamBytes(stream).empty());
    stream->Release();
}

TEST_F(SettingsCommandTest, DialogOpensOnTheBarAndCancelChangesNothing)
{
    std::vector<unsigned char> before = SavedNow();
    HWND owner = NULL;
    POINT topLeft = {}, barOrigin = {};  // client origins of the dialog and the bar
    ModalDriver driver;
    Answer(driver, [&](HWND dialog) {
        owner = GetWindow(dialog, GW_OWNER);
        ClientToScreen(dialog, &topLeft);
        ClientToScreen(barWindow, &barOrigin);
        SetDlgItemTextA(dialog, IDC_DESKTOP_COUNT_EDIT, "7");
        SendDlgItemMessageA(dialog, IDC_CURRENT_COLOR, CBM_SETCOLOR, RGB(1, 2, 3), 0);
        Cancel(dialog);
    });
    EXPECT_EQ(0, pager->OnCommand(1));
    EXPECT_TRUE(dialogShown);
    EXPECT_EQ(barTop.hwnd(), owner);
    EXPECT_EQ(barOrigin.x, topLeft.x);
    EXPECT_EQ(barOrigin.y, topLeft.y);
    EXPECT_EQ(std::vector<std::string>{"site.GetBarWindow"}, Events());
    EXPECT_EQ(4, DesktopCount());
    EXPECT_EQ(before, SavedNow());
}

TEST_F(SettingsCommandTest, HostReleasingThePagerDuringTheDialogEndsItSafely)
{
    ModalDriver driver;
    Answer(driver, [this](HWND dialog) {
        EXPECT_EQ(1u, pager->Release());  // the host's last reference; the command holds its own
        pager = NULL;
        OkWithDesktops("2")(dialog);
    });
    IBarPlugin* running = pager;
    EXPECT_EQ(0, running->OnCommand(1));
    EXPECT_TRUE(dialogShown);
    EXPECT_EQ(std::vector<std::string>{"site.GetBarWindow"}, Events()) << "nothing applied, no site call";
    EXPECT_EQ(S_OK, module.CanUnloadNow()) << "the pager went away when the command ended";

    pager = module.CreatePager();
    ASSERT_NE(nullptr, pager);
    pager->SetSite(&site);
    IStream* stream = StreamWithBytes({});
    ModalDriver second;
    dialogShown = false;
    Answer(second, [this](HWND dialog) {
        pager->Release();
        pager = NULL;
        Ok(dialog);
    });
    running = pager;
    EXPECT_EQ(1, running->Configure(stream));
    EXPECT_TRUE(dialogShown);
    EXPECT_TRUE(StreamBytes(stream).empty()) << "the host's stream is not written for a pager it released";
    EXPECT_EQ(S_OK, module.CanUnloadNow());
    stream->Release();
}

TEST_F(SettingsCommandTest, OkRefreshesTheLayoutThenReportsTheChange)
{
    ModalDriver driver;
    Answer(driver, Ok);
    EXPECT_EQ(0, pager->OnCommand(1));
    EXPECT_TRUE(dialogShown);
    EXPECT_EQ((std::vector<std::string>{"site.GetBarWindow", "site.Refresh(3)", "site.OnStateChanged"}), Events());
    EXPECT_EQ(4, DesktopCount());
}

TEST_F(SettingsCommandTest, OkWithMoreDesktopsSwitchesNothing)
{
    TestWindow visible(kTestWindowClass, "on desktop 1", true);
    ClearEvents();
    ModalDriver driver;
    Answer(driver, OkWithDesktops("6"));
    EXPECT_EQ(0, pager->OnCommand(1));
    EXPECT_EQ(6, DesktopCount());
    EXPECT_TRUE(visible.IsVisible());
    EXPECT_EQ((std::vector<std::string>{"site.GetBarWindow", "site.Refresh(3)", "site.OnStateChanged"}), Events());
}

TEST_F(SettingsCommandTest, ConfigureSavesThroughTheInterfaceTableAlsoAfterCancel)
{
    IStream* configured = StreamWithBytes({});
    ScopeExit releaseConfigured([configured] { configured->Release(); });
    HRESULT result;
    {
        SaveHook hook(pager);
        ModalDriver driver;
        Answer(driver, Cancel);
        result = pager->Configure(configured);
        EXPECT_TRUE(dialogShown);
        ASSERT_EQ(1u, g_savedInto.size());
        EXPECT_EQ(configured, g_savedInto[0]);
    }
    EXPECT_EQ(0, result);
    EXPECT_EQ((std::vector<std::string>{"site.GetBarWindow", "pager.Save"}), Events());
    EXPECT_EQ(4, DesktopCount());
    EXPECT_EQ(SavedNow(), StreamBytes(configured));
}

TEST_F(SettingsCommandTest, ConfigureAppliesOkWithoutTellingTheSite)
{
    IStream* configured = StreamWithBytes({});
    {
        SaveHook hook(pager);
        ModalDriver driver;
        Answer(driver, OkWithDesktops("6"));
        EXPECT_EQ(0, pager->Configure(configured));
    }
    EXPECT_EQ(6, DesktopCount());
    EXPECT_EQ((std::vector<std::string>{"site.GetBarWindow", "pager.Save"}), Events());
    EXPECT_EQ(SavedNow(), StreamBytes(configured));
    configured->Release();
}

TEST_F(SettingsCommandTest, OnlyTheFirstPagerConfigures)
{
    IBarPlugin* second = module.CreatePager();
    ASSERT_NE(nullptr, second);
    RecordingSite secondSite;
    secondSite.barWindow = barWindow;
    second->SetSite(&secondSite);
    IStream* stream = StreamWithBytes({});
    {
        ModalDriver driver;
        Answer(driver, Cancel);
        EXPECT_EQ(1, second->Configure(stream));
        PumpMessages(50);
        EXPECT_FALSE(dialogShown);
        EXPECT_TRUE(StreamBytes(stream).empty());
        EXPECT_TRUE(Events().empty());
    }
    {
        ModalDriver driver;
        Answer(driver, Cancel);
        EXPECT_EQ(0, second->OnCommand(1));
        EXPECT_TRUE(dialogShown);
    }
    stream->Release();
    second->Release();
}

}  // namespace
