// The settings dialog on its working copy: what it shows, its font list and
// what OK writes back.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>
#include <string.h>

#include "dialog/settings_dialog.h"
#include "support/modal_driver.h"
#include "support/stub_key_registrar.h"
#include "support/test_window.h"
#include "unit_module.h"

namespace {

const char kCaption[] = "Virtual Desktop Plugin v.0.2";
const char kTahomaFile[] = "Z:\\usr\\share\\wine\\fonts\\tahoma.ttf";

PagerSettings DefaultSettings()
{
    PagerSettings settings;
    memset(&settings, 0, sizeof(settings));
    settings.reserved = 60;
    settings.columns = 2;
    settings.desktopCount = 4;
    settings.currentColor = kDefaultCurrentColor;
    settings.occupiedColor = kDefaultOccupiedColor;
    settings.emptyColor = kDefaultEmptyColor;
    settings.hoverColor = kDefaultHoverColor;
    strcpy(settings.faceName, "Tahoma");
    return settings;
}

std::string Text(HWND dialog, int id)
{
    char text[128] = "";
    GetDlgItemTextA(dialog, id, text, sizeof(text));
    return text;
}

int Position(HWND dialog, int id)
{
    return LOWORD(SendDlgItemMessageA(dialog, id, UDM_GETPOS, 0, 0));
}

// Font names compare without regard to case.
std::string Lower(const char* text)
{
    std::string lower = text;
    CharLowerBuffA(&lower[0], static_cast<DWORD>(lower.size()));
    return lower;
}

// Full font names as the system enumerates them, with how often each comes.
int CALLBACK CountFullName(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM param)
{
    auto* names = reinterpret_cast<std::map<std::string, int>*>(param);
    ++(*names)[Lower(reinterpret_cast<const char*>(reinterpret_cast<const ENUMLOGFONTEXA*>(font)->elfFullName))];
    return 1;
}

class SettingsDialogTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        UseTestProgramAsModule();
        // Wine lists its own Tahoma only when somebody installs it.
        tahomaAdded = AddFontResourceExA(kTahomaFile, FR_PRIVATE, 0) > 0;
    }
    void SetUp() override
    {
        ASSERT_TRUE(tahomaAdded) << kTahomaFile << " is missing: it comes with the Debian package fonts-wine";
        dialog.settings = DefaultSettings();
    }

    // Runs the dialog; `act` looks at it and ends it.
    int Run(std::function<void(HWND)> act)
    {
        ModalDriver driver;
        driver.Then(DialogCaptioned(kCaption), act);
        int result = dialog.RunModal(NULL, GetModuleHandleA(NULL));
        EXPECT_TRUE(driver.AllStepsRan());
        EXPECT_FALSE(driver.GaveUp());
        return result;
    }
    static void PressOk(HWND window) { SendMessageA(GetDlgItem(window, IDOK), BM_CLICK, 0, 0); }

    CSettingsDialog dialog;
    static bool tahomaAdded;
};
bool SettingsDialogTest::tahomaAdded = false;

TEST_F(SettingsDialogTest, ShowsTheStoredValues)
{
    std::string desktops, columns, face;
    int desktopPosition = 0, columnPosition = 0;
    COLORREF painted = 0;
    bool buttonsAttached = false, keysEnabled = true;  // no registrar: no keys
    int result = Run([&](HWND window) {
        keysEnabled = IsWindowEnabled(GetDlgItem(window, IDC_KEYS_BUTTON));
        desktops = Text(window, IDC_DESKTOP_COUNT_EDIT);
        columns = Text(window, IDC_COLUMNS_EDIT);
        desktopPosition = Position(window, IDC_DESKTOP_COUNT_SPIN);
        columnPosition = Position(window, IDC_COLUMNS_SPIN);
        face = Text(window, IDC_FONT_COMBO);
        HWND current = GetDlgItem(window, IDC_CURRENT_COLOR);
        UpdateWindow(current);
        HDC dc = GetDC(current);
        painted = GetPixel(dc, 5, 5);
        ReleaseDC(current, dc);
        buttonsAttached = dialog.hoverButton.hwnd == GetDlgItem(window, IDC_HOVER_COLOR) &&
                          dialog.currentButton.hwnd == current &&
                          dialog.occupiedButton.hwnd == GetDlgItem(window, IDC_OCCUPIED_COLOR) &&
                          dialog.emptyButton.hwnd == GetDlgItem(window, IDC_EMPTY_COLOR);
        SendMessageA(window, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ("4", desktops);
    EXPECT_EQ("2", columns);
    EXPECT_EQ(4, desktopPosition);
    EXPECT_EQ(2, columnPosition);
    EXPECT_EQ("Tahoma", face);
    EXPECT_EQ(kDefaultCurrentColor, painted);
    EXPECT_EQ(kDefaultHoverColor, dialog.hoverButton.color);
    EXPECT_EQ(kDefaultCurrentColor, dialog.currentButton.color);
    EXPECT_EQ(kDefaultOccupiedColor, dialog.occupiedButton.color);
    EXPECT_EQ(kDefaultEmptyColor, dialog.emptyButton.color);
    EXPECT_TRUE(buttonsAttached);
    EXPECT_FALSE(keysEnabled);
}

TEST_F(SettingsDialogTest, ListsEveryFullFontNameOnce)
{
    std::map<std::string, int> enumerated;
    HDC screen = GetDC(NULL);
    LOGFONTA all = {};
    all.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExA(screen, &all, CountFullName, reinterpret_cast<LPARAM>(&enumerated), 0);
    ReleaseDC(NULL, screen);

    // The list must survive names that begin other names and names that come several times.
    bool somePrefix = false, someRepeated = false;
    for (auto a = enumerated.begin(); a != enumerated.end(); ++a)
    {
        someRepeated |= a->second > 1;
        auto b = std::next(a);
        somePrefix |= b != enumerated.end() && b->first.compare(0, a->first.size(), a->first) == 0;
    }
    EXPECT_TRUE(somePrefix);
    EXPECT_TRUE(someRepeated);

    std::map<std::string, int> listed;
    Run([&](HWND window) {
        HWND list = GetDlgItem(window, IDC_FONT_COMBO);
        int count = static_cast<int>(SendMessageA(list, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i)
        {
            char name[128] = "";
            SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(name));
            ++listed[Lower(name)];
        }
        SendMessageA(window, WM_COMMAND, IDCANCEL, 0);
    });
    ASSERT_EQ(enumerated.size(), listed.size());
    for (const auto& entry : enumerated)
        EXPECT_EQ(1, listed[entry.first]) << entry.first;
}

TEST(FontListTest, LongerNameFirstStillListsTheShorterOnce)
{
    // The system enumerates in sorted order; other orders must work as well.
    HWND combo = CreateWindowExA(0, "COMBOBOX", "", WS_POPUP | CBS_DROPDOWNLIST | CBS_SORT, 0, 0, 100, 100, NULL,
                                 NULL, GetModuleHandleA(NULL), NULL);
    ASSERT_NE(nullptr, combo);
    for (const char* name : {"DejaVu Sans Mono", "DejaVu Sans", "DEJAVU SANS", "DejaVu Sans Mono"})
    {
        ENUMLOGFONTEXA font = {};
        strcpy(reinterpret_cast<char*>(font.elfFullName), name);
        EXPECT_EQ(1, CSettingsDialog::AddFontNameProc(&font.elfLogFont, NULL, TRUETYPE_FONTTYPE,
                                                      reinterpret_cast<LPARAM>(combo)));
    }
    // Read everything first: the combo box goes before any ASSERT can return.
    LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    char first[64] = "", second[64] = "";
    if (count == 2)
    {
        SendMessageA(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
        SendMessageA(combo, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(second));
    }
    DestroyWindow(combo);
    ASSERT_EQ(2, count);
    EXPECT_STREQ("DejaVu Sans", first);
    EXPECT_STREQ("DejaVu Sans Mono", second);
}

TEST_F(SettingsDialogTest, OkCutsColumnsToTheDesktopCount)
{
    dialog.settings.reserved = 12345;
    int result = Run([](HWND window) {
        SetDlgItemTextA(window, IDC_COLUMNS_EDIT, "9");
        SetDlgItemTextA(window, IDC_DESKTOP_COUNT_EDIT, "3");
        PressOk(window);
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(3, dialog.settings.columns);
    EXPECT_EQ(3, dialog.settings.desktopCount);
    EXPECT_EQ(12345, dialog.settings.reserved);
    EXPECT_STREQ("Tahoma", dialog.settings.faceName);
}

TEST_F(SettingsDialogTest, PositionZeroIsStoredAsOne)
{
    Run([](HWND window) {
        for (int spin : {IDC_COLUMNS_SPIN, IDC_DESKTOP_COUNT_SPIN})
        {
            SendDlgItemMessageA(window, spin, UDM_SETRANGE, 0, MAKELPARAM(9, 0));
            SendDlgItemMessageA(window, spin, UDM_SETPOS, 0, MAKELPARAM(0, 0));
        }
        PressOk(window);
    });
    EXPECT_EQ(1, dialog.settings.columns);
    EXPECT_EQ(1, dialog.settings.desktopCount);
}

TEST_F(SettingsDialogTest, TextThatIsNoValidCountKeepsThePosition)
{
    dialog.settings.columns = 3;
    dialog.settings.desktopCount = 5;
    Run([](HWND window) {
        SetDlgItemTextA(window, IDC_COLUMNS_EDIT, "two");
        SetDlgItemTextA(window, IDC_DESKTOP_COUNT_EDIT, "12");
        PressOk(window);
    });
    EXPECT_EQ(3, dialog.settings.columns);
    EXPECT_EQ(5, dialog.settings.desktopCount);
}

TEST_F(SettingsDialogTest, LongFaceNameIsCutTo31Characters)
{
    const char longName[] = "An Extraordinarily Long Font Family Name";
    memset(dialog.settings.faceName, 'x', sizeof(dialog.settings.faceName));  // no terminator at all
    Run([&](HWND window) {
        EXPECT_EQ(CB_ERR, SendDlgItemMessageA(window, IDC_FONT_COMBO, CB_GETCURSEL, 0, 0));
        LRESULT item = SendDlgItemMessageA(window, IDC_FONT_COMBO, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(longName));
        SendDlgItemMessageA(window, IDC_FONT_COMBO, CB_SETCURSEL, item, 0);
        PressOk(window);
    });
    EXPECT_EQ(std::string(longName, 31), std::string(dialog.settings.faceName));
}

TEST_F(SettingsDialogTest, NoSelectionStoresAnEmptyFace)
{
    strcpy(dialog.settings.faceName, "No Such Font Anywhere");
    bool nothingSelected = false;
    Run([&](HWND window) {
        nothingSelected = SendDlgItemMessageA(window, IDC_FONT_COMBO, CB_GETCURSEL, 0, 0) == CB_ERR;
        PressOk(window);
    });
    EXPECT_TRUE(nothingSelected);
    for (char byte : dialog.settings.faceName)
        EXPECT_EQ(0, byte);
}

TEST_F(SettingsDialogTest, OkTakesTheButtonsColoursAndCancelTakesNothing)
{
    auto changeColours = [](HWND window) {
        SendDlgItemMessageA(window, IDC_CURRENT_COLOR, CBM_SETCOLOR, RGB(1, 1, 1), 0);
        SendDlgItemMessageA(window, IDC_OCCUPIED_COLOR, CBM_SETCOLOR, RGB(2, 2, 2), 0);
        SendDlgItemMessageA(window, IDC_EMPTY_COLOR, CBM_SETCOLOR, RGB(3, 3, 3), 0);
        SendDlgItemMessageA(window, IDC_HOVER_COLOR, CBM_SETCOLOR, RGB(4, 4, 4), 0);
    };
    PagerSettings before = dialog.settings;
    EXPECT_EQ(IDCANCEL, Run([&](HWND window) {
                  changeColours(window);
                  SendMessageA(window, WM_COMMAND, IDCANCEL, 0);
              }));
    EXPECT_EQ(0, memcmp(&before, &dialog.settings, sizeof(before)));

    CSettingsDialog second;
    second.settings = before;
    ModalDriver driver;
    driver.Then(DialogCaptioned(kCaption), [&](HWND window) {
        changeColours(window);
        PressOk(window);
    });
    EXPECT_EQ(IDOK, second.RunModal(NULL, GetModuleHandleA(NULL)));
    EXPECT_EQ(RGB(1, 1, 1), second.settings.currentColor);
    EXPECT_EQ(RGB(2, 2, 2), second.settings.occupiedColor);
    EXPECT_EQ(RGB(3, 3, 3), second.settings.emptyColor);
    EXPECT_EQ(RGB(4, 4, 4), second.settings.hoverColor);
}

TEST_F(SettingsDialogTest, KeysButtonRunsTheKeysDialogOverIt)
{
    StubKeyRegistrar registrar;
    dialog.keyRegistrar = &registrar;
    HWND settingsWindow = NULL, keysOwner = NULL;
    ModalDriver driver;
    driver.Then(DialogCaptioned(kCaption), [&](HWND window) {
        settingsWindow = window;
        SendDlgItemMessageA(window, IDC_KEYS_BUTTON, BM_CLICK, 0, 0);  // returns when the keys dialog ends
        SendMessageA(window, WM_COMMAND, IDCANCEL, 0);
    });
    driver.Then(DialogCaptioned("Keys"), [&](HWND keys) {
        keysOwner = GetWindow(keys, GW_OWNER);
        SendMessageA(keys, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(IDCANCEL, dialog.RunModal(NULL, GetModuleHandleA(NULL)));
    EXPECT_TRUE(driver.AllStepsRan());
    EXPECT_EQ(settingsWindow, keysOwner);
    EXPECT_EQ(1, registrar.queries);
}

}  // namespace
