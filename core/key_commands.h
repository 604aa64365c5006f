// The commands the pager's global keys run, their per-user keys, and the
// checks the keys dialog makes on a key.
#pragma once

#include <windows.h>

enum KeyCommand
{
    kNextDesktop,
    kPreviousDesktop,
    kDesktopBelow,
    kDesktopAbove,
    kCarryToNextDesktop,
    kCarryToPreviousDesktop,
    kCarryToDesktopBelow,
    kCarryToDesktopAbove,
    kGoToDesktop1,                        // nine in a row, kGoToDesktop1 + d
    kSendToDesktop1 = kGoToDesktop1 + 9,  // nine in a row
    kPinWindow = kSendToDesktop1 + 9,
    kKeyCommandCount
};

// A key in the hotkey control's own form (HKM_GETHOTKEY): HOTKEYF_* modifiers
// in the high byte, virtual key in the low byte; 0 = none.
typedef WORD HotKey;

struct KeyBindings
{
    HotKey keys[kKeyCommandCount];
    bool enabled;  // false turns every key off
};

// The command's registry value name ("NextDesktop", "GoToDesktop3", ...).
const wchar_t* KeyCommandValueName(int command);
// What the keys dialog lists for the command.
const wchar_t* KeyCommandLabel(int command);
void DefaultKeyBindings(KeyBindings* bindings);

// A virtual key that is no bare modifier key, with only the Shift, Ctrl, Alt
// and extended-key bits; 0 (none) is not usable.
bool IsUsableHotKey(HotKey key);
// MOD_* for RegisterHotKey, with MOD_NOREPEAT.
UINT HotKeyModifiers(HotKey key);
UINT HotKeyVirtualKey(HotKey key);

// HKCU\Software\Velmora\Quorvane\plugins\{pager class}\Keys: a REG_DWORD per
// command under its value name, and "Enabled". A missing key or value means
// the default; a value of another type, out of the WORD range or not a usable
// key means none and sets damaged[command] (damaged may be null).
void LoadKeyBindings(KeyBindings* bindings, bool* damaged);
// Writes every value (0 for none) and Enabled; false when a write failed.
bool SaveKeyBindings(const KeyBindings& bindings);

// True when pressing `key` on `layout` types a printable character. Leaves
// the layout's dead-key state as it was.
bool HotKeyTypesCharacter(HotKey key, HKL layout);
