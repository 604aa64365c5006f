#include "dialog/settings_dialog.h"

#include <commctrl.h>
#include <string.h>

#include "dialog/keys_dialog.h"
#include "win/gdi_scope.h"

namespace {

const int kMinCount = 1;
const int kMaxCount = 9;

void SetUpDown(HWND dialog, int id, int position)
{
    SendDlgItemMessageA(dialog, id, UDM_SETRANGE, 0, MAKELPARAM(kMaxCount, kMinCount));
    SendDlgItemMessageA(dialog, id, UDM_SETPOS, 0, MAKELPARAM(LOWORD(position), 0));
}

// The up-down keeps its last valid position when the edit holds no number
// or one outside the range; the flag in the high word is of no interest.
int ReadUpDown(HWND dialog, int id)
{
    int position = LOWORD(SendDlgItemMessageA(dialog, id, UDM_GETPOS, 0, 0));
    return position == 0 ? 1 : position;
}

}  // namespace

CSettingsDialog::CSettingsDialog() : CDialogBase(IDD_SETTINGS), keyRegistrar(NULL)
{
    // The template's up-down controls: not every host registers their class.
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
}

CSettingsDialog::~CSettingsDialog()
{
}

int CALLBACK CSettingsDialog::AddFontNameProc(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM combo)
{
    const ENUMLOGFONTEXA* entry = reinterpret_cast<const ENUMLOGFONTEXA*>(font);
    char name[LF_FULLFACESIZE];
    lstrcpynA(name, reinterpret_cast<const char*>(entry->elfFullName), sizeof(name));
    HWND list = reinterpret_cast<HWND>(combo);
    // Whole names only: a prefix search would hide "Sans" behind "Sans Mono".
    if (SendMessageA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name)) ==
        CB_ERR)
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    return 1;
}

void CSettingsDialog::OnInitDialog()
{
    HWND dialog = dialogWindow;
    hoverButton.Attach(GetDlgItem(dialog, IDC_HOVER_COLOR), settings.hoverColor);
    currentButton.Attach(GetDlgItem(dialog, IDC_CURRENT_COLOR), settings.currentColor);
    occupiedButton.Attach(GetDlgItem(dialog, IDC_OCCUPIED_COLOR), settings.occupiedColor);
    emptyButton.Attach(GetDlgItem(dialog, IDC_EMPTY_COLOR), settings.emptyColor);

    HWND fontList = GetDlgItem(dialog, IDC_FONT_COMBO);
    {
        CWindowDC window(dialog);
        LOGFONTA wanted;
        memset(&wanted, 0, sizeof(wanted));
        wanted.lfCharSet = DEFAULT_CHARSET;
        EnumFontFamiliesExA(window.handle(), &wanted, AddFontNameProc,
                            reinterpret_cast<LPARAM>(fontList), 0);
    }
    // A stored name that fills all 32 bytes has no terminator of its own.
    char faceName[kFaceNameSize];
    lstrcpynA(faceName, settings.faceName, sizeof(faceName));
    LRESULT index =
        SendMessageA(fontList, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(faceName));
    if (index != CB_ERR)
        SendMessageA(fontList, CB_SETCURSEL, index, 0);

    SetUpDown(dialog, IDC_COLUMNS_SPIN, settings.columns);
    SetUpDown(dialog, IDC_DESKTOP_COUNT_SPIN, settings.desktopCount);
    EnableWindow(GetDlgItem(dialog, IDC_KEYS_BUTTON), keyRegistrar != NULL);
}

// The keys dialog is created with the instance this dialog was created with.
void CSettingsDialog::OnDialogCommand(WPARAM wParam)
{
    if (LOWORD(wParam) != IDC_KEYS_BUTTON || HIWORD(wParam) != BN_CLICKED || !keyRegistrar)
        return;
    CKeysDialog keys(keyRegistrar);
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialogWindow, GWLP_HINSTANCE));
    keys.RunModal(dialogWindow, instance);
}

BOOL CSettingsDialog::OnOK()
{
    ReadControls(&settings);
    return TRUE;
}

void CSettingsDialog::ReadControls(PagerSettings* target)
{
    target->emptyColor = emptyButton.color;
    target->hoverColor = hoverButton.color;
    target->currentColor = currentButton.color;
    target->occupiedColor = occupiedButton.color;

    // Zeroed first so the record keeps no bytes of an older, longer name.
    memset(target->faceName, 0, sizeof(target->faceName));
    GetDlgItemTextA(dialogWindow, IDC_FONT_COMBO, target->faceName, kFaceNameSize);

    target->columns = ReadUpDown(dialogWindow, IDC_COLUMNS_SPIN);
    target->desktopCount = ReadUpDown(dialogWindow, IDC_DESKTOP_COUNT_SPIN);
    if (target->columns > target->desktopCount)
        target->columns = target->desktopCount;
}
