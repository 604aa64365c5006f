#include "dialog/keys_dialog.h"

#include <commctrl.h>

namespace {

const int kNoteSize = 256;
enum Column { kCommandColumn, kKeyColumn, kNoteColumn };

// The hotkey control's way of naming a key: the modifiers, then the key.
void KeyText(HotKey key, wchar_t* text, int size)
{
    if (!IsUsableHotKey(key))
    {
        lstrcpynW(text, L"None", size);
        return;
    }
    BYTE modifiers = HIBYTE(key);
    UINT virtualKey = HotKeyVirtualKey(key);
    LONG scan = static_cast<LONG>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    if (modifiers & HOTKEYF_EXT)
        scan |= 1 << 24;
    wchar_t name[64];
    if (!GetKeyNameTextW(scan, name, 64))
        wsprintfW(name, L"Key %u", virtualKey);
    wchar_t whole[128];
    wsprintfW(whole, L"%s%s%s%s", (modifiers & HOTKEYF_CONTROL) ? L"Ctrl+" : L"",
              (modifiers & HOTKEYF_SHIFT) ? L"Shift+" : L"", (modifiers & HOTKEYF_ALT) ? L"Alt+" : L"", name);
    lstrcpynW(text, whole, size);
}

// RegisterHotKey knows no extended bit: the arrow and the keypad key are one key to it.
bool SameKey(HotKey a, HotKey b)
{
    const HotKey extended = HOTKEYF_EXT << 8;
    return IsUsableHotKey(a) && (a & ~extended) == (b & ~extended);
}

void SetCell(HWND list, int row, int column, const wchar_t* text)
{
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(text);
    SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

}  // namespace

CKeysDialog::CKeysDialog(CKeyRegistrar* keyRegistrar)
    : CDialogBase(IDD_KEYS), bindingsGiven(false), registrar(keyRegistrar), layoutCount(0), showingKey(false)
{
    // The template's list view and hotkey control: not every host registers their classes.
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_HOTKEY_CLASS};
    InitCommonControlsEx(&controls);
    DefaultKeyBindings(&bindings);
    for (int command = 0; command < kKeyCommandCount; ++command)
        taken[command] = damaged[command] = false;
}

void CKeysDialog::OnInitDialog()
{
    if (!bindingsGiven)
        LoadKeyBindings(&bindings, damaged);
    if (registrar)
        registrar->QueryTaken(taken);
    layoutCount = GetKeyboardLayoutList(kMaxLayouts, layouts);
    CheckDlgButton(dialogWindow, IDC_KEYS_ENABLED, bindings.enabled ? BST_CHECKED : BST_UNCHECKED);
    AddRows();
    ShowRows();
    HWND list = GetDlgItem(dialogWindow, IDC_KEYS_LIST);
    LVITEMW first = {};
    first.stateMask = first.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&first));
    ShowSelectedKey();
}

void CKeysDialog::AddRows()
{
    HWND list = GetDlgItem(dialogWindow, IDC_KEYS_LIST);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    RECT client;
    GetClientRect(list, &client);
    const wchar_t* titles[] = {L"Command", L"Keys", L"Note"};
    const int percents[] = {46, 20, 34};
    for (int column = kCommandColumn; column <= kNoteColumn; ++column)
    {
        LVCOLUMNW header = {};
        header.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        header.pszText = const_cast<wchar_t*>(titles[column]);
        header.cx = (client.right - GetSystemMetrics(SM_CXVSCROLL)) * percents[column] / 100;
        header.iSubItem = column;
        SendMessageW(list, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&header));
    }
    for (int command = 0; command < kKeyCommandCount; ++command)
    {
        LVITEMW row = {};
        row.mask = LVIF_TEXT;
        row.iItem = command;
        row.pszText = const_cast<wchar_t*>(KeyCommandLabel(command));
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row));
    }
}

// Every row's key and note: a change to one key may add or end another's clash.
void CKeysDialog::ShowRows()
{
    HWND list = GetDlgItem(dialogWindow, IDC_KEYS_LIST);
    for (int command = 0; command < kKeyCommandCount; ++command)
    {
        wchar_t text[kNoteSize];
        KeyText(bindings.keys[command], text, kNoteSize);
        SetCell(list, command, kKeyColumn, text);
        Note(command, text);
        SetCell(list, command, kNoteColumn, text);
    }
}

void CKeysDialog::Note(int command, wchar_t* note) const
{
    HotKey key = bindings.keys[command];
    note[0] = 0;
    if (taken[command])
        lstrcpynW(note, L"taken by another program", kNoteSize);
    else if (damaged[command])
        lstrcpynW(note, L"the stored key was unreadable", kNoteSize);
    for (int i = 0; i < layoutCount && !note[0]; ++i)
    {
        if (!HotKeyTypesCharacter(key, layouts[i]))
            continue;
        LCID language = MAKELCID(LOWORD(reinterpret_cast<UINT_PTR>(layouts[i])), SORT_DEFAULT);
        wchar_t name[80];
        if (!GetLocaleInfoW(language, LOCALE_SLANGUAGE, name, 80))
            wsprintfW(name, L"layout %04x", LOWORD(reinterpret_cast<UINT_PTR>(layouts[i])));
        wsprintfW(note, L"types a character on %s", name);
    }
    for (int other = 0; other < kKeyCommandCount; ++other)
    {
        if (other == command || !SameKey(key, bindings.keys[other]))
            continue;
        wchar_t clash[kNoteSize];
        wsprintfW(clash, L"%s%salso used by %s", note, note[0] ? L"; " : L"", KeyCommandLabel(other));
        lstrcpynW(note, clash, kNoteSize);
        break;
    }
}

int CKeysDialog::SelectedCommand() const
{
    HWND list = GetDlgItem(dialogWindow, IDC_KEYS_LIST);
    return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void CKeysDialog::ShowSelectedKey()
{
    int command = SelectedCommand();
    const int editing[] = {IDC_KEYS_HOTKEY, IDC_KEYS_NONE, IDC_KEYS_DEFAULT};
    for (int id : editing)
        EnableWindow(GetDlgItem(dialogWindow, id), command >= 0);
    showingKey = true;
    SendDlgItemMessageW(dialogWindow, IDC_KEYS_HOTKEY, HKM_SETHOTKEY, command >= 0 ? bindings.keys[command] : 0, 0);
    showingKey = false;
}

// A key the user set was not tried yet: whatever was said of the old one goes.
void CKeysDialog::SetSelectedKey(HotKey key)
{
    int command = SelectedCommand();
    if (command < 0 || command >= kKeyCommandCount)
        return;
    bindings.keys[command] = IsUsableHotKey(key) ? key : 0;
    taken[command] = damaged[command] = false;
    ShowRows();
}

void CKeysDialog::OnDialogCommand(WPARAM wParam)
{
    int command = SelectedCommand();
    switch (LOWORD(wParam))
    {
    case IDC_KEYS_HOTKEY:
        if (HIWORD(wParam) == EN_CHANGE && !showingKey)
            SetSelectedKey(LOWORD(SendDlgItemMessageW(dialogWindow, IDC_KEYS_HOTKEY, HKM_GETHOTKEY, 0, 0)));
        break;
    case IDC_KEYS_NONE:
    case IDC_KEYS_DEFAULT:
        if (HIWORD(wParam) == BN_CLICKED && command >= 0)
        {
            KeyBindings defaults;
            DefaultKeyBindings(&defaults);
            SetSelectedKey(LOWORD(wParam) == IDC_KEYS_NONE ? 0 : defaults.keys[command]);
            ShowSelectedKey();
        }
        break;
    }
}

LRESULT CKeysDialog::OnNotify(WPARAM, LPARAM lParam)
{
    const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
    if (change->hdr.idFrom == IDC_KEYS_LIST && change->hdr.code == LVN_ITEMCHANGED &&
        ((change->uNewState ^ change->uOldState) & LVIS_SELECTED))
        ShowSelectedKey();
    return 0;
}

BOOL CKeysDialog::OnOK()
{
    bindings.enabled = IsDlgButtonChecked(dialogWindow, IDC_KEYS_ENABLED) == BST_CHECKED;
    SaveKeyBindings(bindings);
    if (registrar)
        registrar->Apply(bindings);
    return TRUE;
}
