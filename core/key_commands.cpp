#include "core/key_commands.h"

#include <commctrl.h>

#include "pager_class_id.h"
#include "win/registry_key.h"

namespace {

// The bar keeps a plug-in's settings under its class id; the keys are per user.
const wchar_t kKeysPath[] =
    L"" PAGER_PLUGIN_KEY L"\\Keys";
const wchar_t kEnabledValue[] = L"Enabled";

struct CommandText
{
    const wchar_t* valueName;
    const wchar_t* label;
};

const CommandText kCommandTexts[kKeyCommandCount] = {
    {L"NextDesktop", L"Next desktop"},
    {L"PreviousDesktop", L"Previous desktop"},
    {L"DesktopBelow", L"Desktop below"},
    {L"DesktopAbove", L"Desktop above"},
    {L"CarryToNextDesktop", L"Carry the active window to the next desktop"},
    {L"CarryToPreviousDesktop", L"Carry the active window to the previous desktop"},
    {L"CarryToDesktopBelow", L"Carry the active window to the desktop below"},
    {L"CarryToDesktopAbove", L"Carry the active window to the desktop above"},
    {L"GoToDesktop1", L"Go to desktop 1"},
    {L"GoToDesktop2", L"Go to desktop 2"},
    {L"GoToDesktop3", L"Go to desktop 3"},
    {L"GoToDesktop4", L"Go to desktop 4"},
    {L"GoToDesktop5", L"Go to desktop 5"},
    {L"GoToDesktop6", L"Go to desktop 6"},
    {L"GoToDesktop7", L"Go to desktop 7"},
    {L"GoToDesktop8", L"Go to desktop 8"},
    {L"GoToDesktop9", L"Go to desktop 9"},
    {L"SendToDesktop1", L"Send the active window to desktop 1"},
    {L"SendToDesktop2", L"Send the active window to desktop 2"},
    {L"SendToDesktop3", L"Send the active window to desktop 3"},
    {L"SendToDesktop4", L"Send the active window to desktop 4"},
    {L"SendToDesktop5", L"Send the active window to desktop 5"},
    {L"SendToDesktop6", L"Send the active window to desktop 6"},
    {L"SendToDesktop7", L"Send the active window to desktop 7"},
    {L"SendToDesktop8", L"Send the active window to desktop 8"},
    {L"SendToDesktop9", L"Send the active window to desktop 9"},
    {L"PinWindow", L"Pin or unpin the active window"},
};

const BYTE kModifierBits = HOTKEYF_SHIFT | HOTKEYF_CONTROL | HOTKEYF_ALT | HOTKEYF_EXT;

bool IsModifierKey(UINT virtualKey)
{
    switch (virtualKey)
    {
    case VK_SHIFT: case VK_LSHIFT: case VK_RSHIFT:
    case VK_CONTROL: case VK_LCONTROL: case VK_RCONTROL:
    case VK_MENU: case VK_LMENU: case VK_RMENU:
    case VK_LWIN: case VK_RWIN:
        return true;
    default:
        return false;
    }
}

enum StoredValue { kValueMissing, kValueDword, kValueUnreadable };

StoredValue ReadDword(HKEY key, const wchar_t* name, DWORD* value)
{
    DWORD type = REG_NONE;
    DWORD size = sizeof(*value);
    LONG read = RegQueryValueExW(key, name, NULL, &type, reinterpret_cast<BYTE*>(value), &size);
    if (read == ERROR_FILE_NOT_FOUND)
        return kValueMissing;
    return read == ERROR_SUCCESS && type == REG_DWORD && size == sizeof(*value) ? kValueDword : kValueUnreadable;
}

bool WriteDword(HKEY key, const wchar_t* name, DWORD value)
{
    return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value)) ==
           ERROR_SUCCESS;
}

}  // namespace

const wchar_t* KeyCommandValueName(int command)
{
    return command >= 0 && command < kKeyCommandCount ? kCommandTexts[command].valueName : L"";
}

const wchar_t* KeyCommandLabel(int command)
{
    return command >= 0 && command < kKeyCommandCount ? kCommandTexts[command].label : L"";
}

void DefaultKeyBindings(KeyBindings* bindings)
{
    for (HotKey& key : bindings->keys)
        key = 0;
    const BYTE move = HOTKEYF_CONTROL | HOTKEYF_ALT | HOTKEYF_EXT;
    const BYTE carry = move | HOTKEYF_SHIFT;
    const UINT arrows[4] = {VK_RIGHT, VK_LEFT, VK_DOWN, VK_UP};  // next, previous, below, above
    for (int i = 0; i < 4; ++i)
    {
        bindings->keys[kNextDesktop + i] = MAKEWORD(arrows[i], move);
        bindings->keys[kCarryToNextDesktop + i] = MAKEWORD(arrows[i], carry);
    }
    bindings->enabled = true;
}

bool IsUsableHotKey(HotKey key)
{
    UINT virtualKey = LOBYTE(key);
    return virtualKey != 0 && !IsModifierKey(virtualKey) && (HIBYTE(key) & ~kModifierBits) == 0;
}

UINT HotKeyModifiers(HotKey key)
{
    BYTE modifiers = HIBYTE(key);
    return ((modifiers & HOTKEYF_ALT) ? MOD_ALT : 0) | ((modifiers & HOTKEYF_CONTROL) ? MOD_CONTROL : 0) |
           ((modifiers & HOTKEYF_SHIFT) ? MOD_SHIFT : 0) | MOD_NOREPEAT;
}

UINT HotKeyVirtualKey(HotKey key)
{
    return LOBYTE(key);
}

void LoadKeyBindings(KeyBindings* bindings, bool* damaged)
{
    DefaultKeyBindings(bindings);
    for (int command = 0; damaged && command < kKeyCommandCount; ++command)
        damaged[command] = false;
    CRegistryKey key;
    if (key.Open(HKEY_CURRENT_USER, kKeysPath, KEY_QUERY_VALUE) != ERROR_SUCCESS)
        return;
    for (int command = 0; command < kKeyCommandCount; ++command)
    {
        DWORD value = 0;
        StoredValue stored = ReadDword(key.get(), KeyCommandValueName(command), &value);
        if (stored == kValueMissing)
            continue;
        bool usable = stored == kValueDword && value <= 0xFFFF &&
                      (value == 0 || IsUsableHotKey(static_cast<HotKey>(value)));
        bindings->keys[command] = usable ? static_cast<HotKey>(value) : 0;
        if (damaged)
            damaged[command] = !usable;
    }
    DWORD enabled = 1;
    if (ReadDword(key.get(), kEnabledValue, &enabled) == kValueDword)
        bindings->enabled = enabled != 0;
}

bool SaveKeyBindings(const KeyBindings& bindings)
{
    CRegistryKey key;
    if (key.Create(HKEY_CURRENT_USER, kKeysPath, KEY_SET_VALUE) != ERROR_SUCCESS)
        return false;
    bool written = true;
    for (int command = 0; command < kKeyCommandCount; ++command)
    {
        HotKey stored = IsUsableHotKey(bindings.keys[command]) ? bindings.keys[command] : 0;
        written &= WriteDword(key.get(), KeyCommandValueName(command), stored);
    }
    written &= WriteDword(key.get(), kEnabledValue, bindings.enabled ? 1 : 0);
    return written;
}

bool HotKeyTypesCharacter(HotKey key, HKL layout)
{
    if (!IsUsableHotKey(key))
        return false;
    BYTE state[256] = {};
    BYTE modifiers = HIBYTE(key);
    if (modifiers & HOTKEYF_SHIFT)
        state[VK_SHIFT] = state[VK_LSHIFT] = 0x80;
    if (modifiers & HOTKEYF_CONTROL)
        state[VK_CONTROL] = state[VK_LCONTROL] = 0x80;
    if (modifiers & HOTKEYF_ALT)
        state[VK_MENU] = state[VK_LMENU] = 0x80;
    UINT virtualKey = HotKeyVirtualKey(key);
    UINT scanCode = MapVirtualKeyExW(virtualKey, MAPVK_VK_TO_VSC, layout);
    // Flag 4 keeps the layout's dead-key state on Windows 10 1607 and later;
    // earlier systems take a dead key up, and pressing it again types it out.
    const UINT kKeepKeyboardState = 4;
    wchar_t typed[8];
    int count = ToUnicodeEx(virtualKey, scanCode, state, typed, 8, kKeepKeyboardState, layout);
    if (count < 0)
    {
        ToUnicodeEx(virtualKey, scanCode, state, typed, 8, kKeepKeyboardState, layout);
        return true;
    }
    // Ctrl with a letter gives a control character, which types nothing.
    for (int i = 0; i < count && i < 8; ++i)
        if (typed[i] >= 0x20 && typed[i] != 0x7F)
            return true;
    return false;
}
