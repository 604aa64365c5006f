// The per-user keys in the registry, what is said of a key, and the keys
// dialog driven as a user drives it.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlwapi.h>

#include <string>
#include <string.h>

#include "support/modal_driver.h"
#include "support/registry_tools.h"
#include "support/stub_key_registrar.h"
#include "unit_module.h"

namespace {

const std::string kKeysKey = std::string(kPagerPluginKey) + "\\Keys";
const BYTE kCtrlAlt = HOTKEYF_CONTROL | HOTKEYF_ALT;
const HotKey kCtrlAltLeft = MAKEWORD(VK_LEFT, kCtrlAlt | HOTKEYF_EXT), kShiftA = MAKEWORD('A', HOTKEYF_SHIFT);

TEST(KeyStoreTest, SavedKeysComeBackMissingOnesAreDefaultsDamagedOnesNone)
{
    SHDeleteKeyA(HKEY_CURRENT_USER, kKeysKey.c_str());
    KeyBindings loaded, expected;
    bool damaged[kKeyCommandCount];
    LoadKeyBindings(&loaded, damaged);  // no key at all
    EXPECT_EQ(MAKEWORD(VK_UP, kCtrlAlt | HOTKEYF_SHIFT | HOTKEYF_EXT), loaded.keys[kCarryToDesktopAbove]);
    EXPECT_TRUE(loaded.enabled);
    DefaultKeyBindings(&expected);
    expected.keys[kNextDesktop] = 0;
    expected.enabled = false;
    ASSERT_TRUE(SaveKeyBindings(expected));

    struct Stored { const char* value; DWORD type, data, size; int command; HotKey key; bool damaged; };
    const Stored stored[] = {
        {"PreviousDesktop", REG_SZ, 'x', 4, kPreviousDesktop, 0, true},
        {"PinWindow", REG_BINARY, 'P', 4, kPinWindow, 0, true},
        {"DesktopBelow", REG_DWORD, MAKEWORD(VK_SHIFT, HOTKEYF_CONTROL), 4, kDesktopBelow, 0, true},
        {"DesktopAbove", REG_DWORD, MAKEWORD('A', 0x10), 4, kDesktopAbove, 0, true},
        {"GoToDesktop3", REG_DWORD, 0x10000 | 'B', 4, kGoToDesktop1 + 2, 0, true},
        {"GoToDesktop4", REG_DWORD, 'C', 2, kGoToDesktop1 + 3, 0, true},
        {"SendToDesktop9", REG_DWORD, MAKEWORD(VK_F9, 4), 4, kSendToDesktop1 + 8, MAKEWORD(VK_F9, 4), false},
        {"CarryToDesktopBelow", REG_DWORD, 0, 4, kCarryToDesktopBelow, 0, false},
    };
    bool wanted[kKeyCommandCount] = {};
    for (const Stored& value : stored)
    {
        ASSERT_EQ(0, RegSetKeyValueA(HKEY_CURRENT_USER, kKeysKey.c_str(), value.value, value.type, &value.data, value.size));
        expected.keys[value.command] = value.key;
        wanted[value.command] = value.damaged;
    }
    ASSERT_EQ(0, RegDeleteKeyValueA(HKEY_CURRENT_USER, kKeysKey.c_str(), "NextDesktop"));
    expected.keys[kNextDesktop] = MAKEWORD(VK_RIGHT, kCtrlAlt | HOTKEYF_EXT);  // missing: the default
    LoadKeyBindings(&loaded, damaged);
    for (int command = 0; command < kKeyCommandCount; ++command)
        EXPECT_TRUE(expected.keys[command] == loaded.keys[command] && wanted[command] == damaged[command]) << command;
    EXPECT_FALSE(loaded.enabled);  // Enabled 0
    SHDeleteKeyA(HKEY_CURRENT_USER, kKeysKey.c_str());
}

TEST(HotKeyTest, UsableModifiersAndTypedCharacters)
{
    struct Case { HotKey key; bool usable; UINT modifiers; bool types; };
    const Case cases[] = {
        {kCtrlAltLeft, true, MOD_CONTROL | MOD_ALT, false},  {kShiftA, true, MOD_SHIFT, true},
        {MAKEWORD('A', HOTKEYF_CONTROL), true, MOD_CONTROL, false},  // a control character
        {MAKEWORD(VK_F5, 0), true, 0, false},  {MAKEWORD(VK_LWIN, HOTKEYF_ALT), false, MOD_ALT, false},
        {MAKEWORD(VK_RCONTROL, 0), false, 0, false},  {MAKEWORD('A', 0x20), false, 0, false},  {0, false, 0, false},
    };
    for (const Case& test : cases)
    {
        EXPECT_EQ(test.usable, IsUsableHotKey(test.key)) << test.key;
        EXPECT_EQ(test.modifiers | MOD_NOREPEAT, HotKeyModifiers(test.key)) << test.key;
        EXPECT_EQ(LOBYTE(test.key), HotKeyVirtualKey(test.key));
        EXPECT_EQ(test.types, HotKeyTypesCharacter(test.key, GetKeyboardLayout(0))) << test.key;
    }
}

// A key pressed in the control as the user presses it: modifiers first, all released after.
void TypeKey(HWND dialog, HotKey key)
{
    const UINT keys[] = {(HIBYTE(key) & HOTKEYF_CONTROL) ? VK_CONTROL : 0u, (HIBYTE(key) & HOTKEYF_ALT) ? VK_MENU : 0u,
                         (HIBYTE(key) & HOTKEYF_SHIFT) ? VK_SHIFT : 0u, LOBYTE(key)};
    for (UINT message : {WM_KEYDOWN, WM_KEYUP})
        for (UINT pressed : keys)
            if (pressed)
                SendDlgItemMessageW(dialog, IDC_KEYS_HOTKEY, message, pressed, message == WM_KEYUP ? 0xC0000001 : 1);
}

TEST(KeysDialogTest, OkSavesAndAppliesTheEditedKeysAndCancelNothing)
{
    UseTestProgramAsModule();
    enum Act { kLook, kType, kNone = IDC_KEYS_NONE, kDefault = IDC_KEYS_DEFAULT };
    struct Step { int row; Act act; HotKey key; int readRow; int column; const wchar_t* shown; };
    const Step steps[] = {
        {0, kLook, 0, kDesktopAbove, 2, L"taken by another program"},
        {0, kLook, 0, kPinWindow, 2, L"the stored key was unreadable"},
        {kGoToDesktop1 + 1, kType, MAKEWORD('2', kCtrlAlt), kGoToDesktop1 + 1, 1, L"Ctrl+Alt+2"},
        {kDesktopAbove, kType, kCtrlAltLeft, kDesktopAbove, 2, L"also used by Previous desktop"},
        {kDesktopAbove, kLook, 0, kPreviousDesktop, 2, L"also used by Desktop above"},
        {kDesktopAbove, kDefault, 0, kDesktopAbove, 2, L""},  // a key not tried yet: nothing known of it
        {kDesktopAbove, kLook, 0, kDesktopAbove, 1, L"Ctrl+Alt+Up"},
        {kDesktopBelow, kNone, 0, kDesktopBelow, 1, L"None"},
        {kSendToDesktop1, kType, kShiftA, kSendToDesktop1, 2, L"types a character on English (United States)"},
    };
    for (int button : {IDOK, IDCANCEL})
    {
        SHDeleteKeyA(HKEY_CURRENT_USER, kKeysKey.c_str());
        ASSERT_EQ(0, RegSetKeyValueA(HKEY_CURRENT_USER, kKeysKey.c_str(), "PinWindow", REG_SZ, "x", 2));
        const std::string before = DumpKey(HKEY_CURRENT_USER, kKeysKey);
        StubKeyRegistrar registrar;
        registrar.takenCommand = kDesktopAbove;
        CKeysDialog dialog(&registrar);
        ModalDriver driver;
        driver.Then(DialogCaptioned("Keys"), [&](HWND window) {
            for (const Step& step : steps)
            {
                LVITEMW selected = {0, 0, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED};
                SendDlgItemMessageW(window, IDC_KEYS_LIST, LVM_SETITEMSTATE, step.row, reinterpret_cast<LPARAM>(&selected));
                if (step.act == kType)
                    TypeKey(window, step.key);
                else if (step.act != kLook)
                    SendDlgItemMessageW(window, step.act, BM_CLICK, 0, 0);
                wchar_t text[256] = L"";
                LVITEMW cell = {0, 0, step.column, 0, 0, text, 256};
                SendDlgItemMessageW(window, IDC_KEYS_LIST, LVM_GETITEMTEXTW, step.readRow, reinterpret_cast<LPARAM>(&cell));
                EXPECT_STREQ(step.shown, text) << step.readRow;
            }
            SendDlgItemMessageW(window, IDC_KEYS_ENABLED, BM_CLICK, 0, 0);
            SendDlgItemMessageW(window, button, BM_CLICK, 0, 0);
        });
        EXPECT_EQ(button, dialog.RunModal(NULL, GetModuleHandleA(NULL)));
        EXPECT_TRUE(driver.AllStepsRan());
        EXPECT_EQ(1, registrar.queries);

        KeyBindings expected, saved;
        DefaultKeyBindings(&expected);
        expected.keys[kGoToDesktop1 + 1] = MAKEWORD('2', kCtrlAlt);
        expected.keys[kDesktopBelow] = 0;
        expected.keys[kSendToDesktop1] = kShiftA;
        expected.enabled = false;
        LoadKeyBindings(&saved, NULL);
        EXPECT_EQ(button == IDOK ? 1u : 0u, registrar.applied.size());
        if (button == IDCANCEL)
            EXPECT_EQ(before, DumpKey(HKEY_CURRENT_USER, kKeysKey));
        for (const KeyBindings* written : {&saved, registrar.applied.empty() ? &saved : &registrar.applied[0]})
            EXPECT_EQ(button == IDOK, !memcmp(expected.keys, written->keys, sizeof(expected.keys)) && !written->enabled);
    }
    SHDeleteKeyA(HKEY_CURRENT_USER, kKeysKey.c_str());
}

}  // namespace
