// The resource dialog runner: where it finds its template, how it routes
// the dialog's messages and how the dialog ends.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "win/module.h"
#include "dialog/dialog_base.h"
#include "support/event_log.h"
#include "support/modal_driver.h"
#include "unit_module.h"

namespace {

const int kRunnerTemplate = 23001;
const char kRunnerCaption[] = "Runner test";

// Logs each virtual operation it receives, and whether WM_INITDIALOG had come yet.
class RecordingDialog : public CDialogBase
{
public:
    explicit RecordingDialog(int id) : CDialogBase(id) {}

    LRESULT OnMessage(UINT message, WPARAM, LPARAM, BOOL& handled) override
    {
        if (!initialised)
            LogEvent("OnMessage before WM_INITDIALOG");
        if (message == WM_SETFONT)
            LogEvent("OnMessage WM_SETFONT");
        handled = FALSE;
        return 0;
    }
    LRESULT OnNotify(WPARAM, LPARAM) override
    {
        LogEvent("OnNotify");
        return 0;
    }
    void OnPaint() override
    {
        if (!painted)
            LogEvent("OnPaint");
        painted = true;
    }
    void OnDialogCommand(WPARAM wParam) override
    {
        LogEvent("OnDialogCommand " + std::to_string(LOWORD(wParam)) + " " + std::to_string(HIWORD(wParam)));
    }
    BOOL OnOK() override
    {
        LogEvent("OnOK");
        return okAnswer;
    }
    void OnInitDialog() override
    {
        initialised = true;
        LogEvent("OnInitDialog");
    }

    BOOL okAnswer = TRUE;
    bool initialised = false;
    bool painted = false;
};

// Logs WM_SETFONT as the dialog procedure receives it.
LRESULT CALLBACK WatchSetFont(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_SETFONT)
    {
        char className[16] = "";
        GetClassNameA(call->hwnd, className, sizeof(className));
        if (lstrcmpA(className, "#32770") == 0)
            LogEvent("dialog gets WM_SETFONT");
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

// An answer to WM_CTLCOLORSTATIC that no default would give.
HBRUSH g_labelBrush = NULL;
WNDPROC g_staticProc = NULL;
LRESULT CALLBACK LabelWithOwnColours(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CTLCOLORSTATIC)
        return reinterpret_cast<LRESULT>(g_labelBrush);
    return CallWindowProcA(g_staticProc, window, message, wParam, lParam);
}

class DialogRunnerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        UseTestProgramAsModule();
        pagerDll = LoadLibraryA("pager.dll");
        ASSERT_NE(nullptr, pagerDll);
        ClearEvents();
    }
    void TearDown() override
    {
        SetModuleInstance(GetModuleHandleA(NULL));
        FreeLibrary(pagerDll);
    }
    static void Cancel(HWND dialog) { SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0); }
    static void Click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

    HMODULE pagerDll = NULL;
    HINSTANCE testProgram = GetModuleHandleA(NULL);
};

TEST_F(DialogRunnerTest, TemplateOfTheGivenInstanceComesFirst)
{
    // Both have a template 101: the pager's settings dialog and the test program's own.
    SetModuleInstance(testProgram);
    RecordingDialog dialog(101);
    std::string caption;
    ModalDriver driver;
    driver.Then([] { return FindThreadDialog(); },
                [&](HWND window) {
                    char text[64];
                    GetWindowTextA(window, text, sizeof(text));
                    caption = text;
                    Cancel(window);
                });
    EXPECT_EQ(IDCANCEL, dialog.RunModal(NULL, pagerDll));
    EXPECT_FALSE(driver.GaveUp());
    EXPECT_EQ("Virtual Desktop Plugin v.0.2", caption);
}

TEST_F(DialogRunnerTest, TemplateOnlyInTheModuleIsCreatedWithTheCallersInstance)
{
    SetModuleInstance(testProgram);
    RecordingDialog dialog(kRunnerTemplate);
    HINSTANCE createdWith = NULL;
    HWND seen = NULL;
    ModalDriver driver;
    driver.Then(DialogCaptioned(kRunnerCaption), [&](HWND window) {
        seen = window;
        createdWith = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
        Cancel(window);
    });
    EXPECT_EQ(IDCANCEL, dialog.RunModal(NULL, pagerDll));
    EXPECT_TRUE(driver.AllStepsRan());
    EXPECT_EQ(pagerDll, createdWith);
    EXPECT_EQ(seen, dialog.dialogWindow);  // kept after the dialog ended
}

TEST_F(DialogRunnerTest, TemplateFoundNowhereShowsNothing)
{
    SetModuleInstance(pagerDll);
    RecordingDialog dialog(kRunnerTemplate + 1);
    bool anyDialog = false;
    ModalDriver driver(10);
    driver.Then([] { return FindThreadDialog(); }, [&](HWND) { anyDialog = true; });
    EXPECT_EQ(0, dialog.RunModal(NULL, testProgram));
    EXPECT_FALSE(anyDialog);
    EXPECT_EQ(NULL, dialog.dialogWindow);
    EXPECT_TRUE(Events().empty());
}

TEST_F(DialogRunnerTest, NothingIsRoutedBeforeWmInitDialog)
{
    RecordingDialog dialog(kRunnerTemplate);
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, WatchSetFont, NULL, GetCurrentThreadId());
    ModalDriver driver;
    driver.Then(DialogCaptioned(kRunnerCaption), Cancel);
    EXPECT_EQ(IDCANCEL, dialog.RunModal(NULL, testProgram));
    UnhookWindowsHookEx(hook);
    ASSERT_FALSE(Events().empty());
    EXPECT_EQ("dialog gets WM_SETFONT", Events().front());
    EXPECT_TRUE(EventsWithPrefix("OnMessage before").empty());
    EXPECT_TRUE(EventsWithPrefix("OnMessage WM_SETFONT").empty());
    EXPECT_EQ(1u, EventsWithPrefix("OnInitDialog").size());
}

TEST_F(DialogRunnerTest, OkEndsTheDialogOnlyWhenOnOkAgrees)
{
    RecordingDialog dialog(kRunnerTemplate);
    bool openAfterRefusal = false;
    ModalDriver driver;
    driver.Then(DialogCaptioned(kRunnerCaption),
                [&](HWND window) {
                    dialog.okAnswer = FALSE;
                    Click(window, IDOK);
                })
        .Then(DialogCaptioned(kRunnerCaption),
              [&](HWND window) {
                  openAfterRefusal = IsWindowVisible(window) != FALSE;
                  dialog.okAnswer = TRUE;
                  // Only the low word tells OK apart.
                  SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, 0x1234), 0);
              });
    EXPECT_EQ(IDOK, dialog.RunModal(NULL, testProgram));
    EXPECT_TRUE(driver.AllStepsRan());
    EXPECT_TRUE(openAfterRefusal);
    EXPECT_EQ(2u, EventsWithPrefix("OnOK").size());
}

TEST_F(DialogRunnerTest, CancelEscapeAndCloseBoxEndWithTwoAndNoHandler)
{
    const std::vector<std::function<void(HWND)>> ways = {
        [](HWND window) { Click(window, IDCANCEL); },
        [](HWND window) {
            HWND edit = GetDlgItem(window, 1101);
            SetFocus(edit);
            PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        },
        [](HWND window) { SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); },
    };
    for (size_t i = 0; i < ways.size(); ++i)
    {
        ClearEvents();
        RecordingDialog dialog(kRunnerTemplate);
        ModalDriver driver;
        driver.Then(DialogCaptioned(kRunnerCaption), ways[i]);
        EXPECT_EQ(IDCANCEL, dialog.RunModal(NULL, testProgram)) << i;
        EXPECT_FALSE(driver.GaveUp()) << i;
        EXPECT_TRUE(EventsWithPrefix("OnOK").empty()) << i;
        EXPECT_TRUE(EventsWithPrefix("OnDialogCommand 2 ").empty()) << i;
    }
}

TEST_F(DialogRunnerTest, OtherCommandsPaintAndNotificationsReachTheirHandlers)
{
    RecordingDialog dialog(kRunnerTemplate);
    ModalDriver driver;
    driver.Then(DialogCaptioned(kRunnerCaption),
                [&](HWND window) {
                    Click(window, 1102);
                    NMHDR header = {GetDlgItem(window, 1101), 1101, 0};
                    SendMessageA(window, WM_NOTIFY, 1101, reinterpret_cast<LPARAM>(&header));
                    InvalidateRect(window, NULL, TRUE);
                    UpdateWindow(window);
                    Cancel(window);
                });
    EXPECT_EQ(IDCANCEL, dialog.RunModal(NULL, testProgram));
    EXPECT_EQ(std::vector<std::string>{"OnDialogCommand 1102 0"}, EventsWithPrefix("OnDialogCommand 1102"));
    EXPECT_EQ(1u, EventsWithPrefix("OnNotify").size());
    EXPECT_EQ(1u, EventsWithPrefix("OnPaint").size());
}

TEST_F(DialogRunnerTest, StaticColoursComeFromTheControlItself)
{
    RecordingDialog dialog(kRunnerTemplate);
    g_labelBrush = CreateSolidBrush(RGB(1, 2, 3));
    LRESULT answered = 0, defaultAnswer = 0;
    ModalDriver driver;
    driver.Then(DialogCaptioned(kRunnerCaption), [&](HWND window) {
        HWND label = GetDlgItem(window, 1100);
        HDC dc = GetDC(label);
        // A plain label answers with the default colours, which is not FALSE.
        defaultAnswer = SendMessageA(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                     reinterpret_cast<LPARAM>(label));
        g_staticProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(label, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LabelWithOwnColours)));
        answered = SendMessageA(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                reinterpret_cast<LPARAM>(label));
        ReleaseDC(label, dc);
        Cancel(window);
    });
    EXPECT_EQ(IDCANCEL, dialog.RunModal(NULL, testProgram));
    EXPECT_NE(0, defaultAnswer);
    EXPECT_EQ(reinterpret_cast<LRESULT>(g_labelBrush), answered);
    DeleteObject(g_labelBrush);
}

}  // namespace
