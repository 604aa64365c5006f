#include "dialog/recovery_dialog.h"

#include "win/module.h"
#include "core/recovery.h"
#include "dialog/recovery_ids.h"
#include "win/window_title.h"

namespace {

// The windows the list shows, by item data.
RecoverableWindows g_listed;

void FillList(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_RECOVERY_LIST);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    ListParkedApplicationWindows(&g_listed);
    for (int i = 0; i < g_listed.Count(); ++i)
    {
        // A window that died since it was listed has no title left to show.
        char title[100];
        if (ReadWindowTitle(g_listed[i], title, sizeof(title)) == 0)
            continue;
        LRESULT item = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(title));
        SendMessageA(list, LB_SETITEMDATA, item, i);
    }
}

void ShowSelected(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_RECOVERY_LIST);
    int items = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int item = 0; item < items; ++item)
    {
        if (SendMessageA(list, LB_GETSEL, item, 0) <= 0)
            continue;
        LRESULT index = SendMessageA(list, LB_GETITEMDATA, item, 0);
        if (index >= 0 && index < g_listed.Count())
            ShowRecoveredWindows(&g_listed[static_cast<int>(index)], 1);
    }
}

INT_PTR CALLBACK RecoveryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message)
    {
    case WM_INITDIALOG:
        FillList(dialog);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam))
        {
        case IDC_RECOVERY_SHOW:
            ShowSelected(dialog);
            FillList(dialog);
            return TRUE;
        case IDC_RECOVERY_SHOW_ALL:
            ShowRecoveredWindows(g_listed.Items(), g_listed.Count());
            FillList(dialog);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

void RunRecoveryDialog(HWND owner)
{
    DialogBoxParamA(ModuleInstance(), MAKEINTRESOURCEA(IDD_RECOVERY), owner, RecoveryDialogProc, 0);
}
