// RecoverWindows: a rundll32 entry point that brings back windows left hidden
// when a host died with the pager's windows parked on other desktops.
//   rundll32 pager.dll,RecoverWindows                 pick from a list
//   rundll32 pager.dll,RecoverWindows /all            show every hidden application window
//   rundll32 pager.dll,RecoverWindows /state <file>   show the windows a saved state remembers
#include <windows.h>
#include <string.h>

#include "com/module_state.h"
#include "core/recovery.h"
#include "resources/recovery_resource.h"

static RecoverableWindows g_recoverable;

static void FillList(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_RECOVERY_LIST);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    ListHiddenApplicationWindows(&g_recoverable);
    for (int i = 0; i < g_recoverable.count; ++i)
    {
        char title[100];
        GetWindowTextA(g_recoverable.windows[i], title, sizeof(title));
        LRESULT item = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(title));
        SendMessageA(list, LB_SETITEMDATA, item, i);
    }
}

static void ShowSelected(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_RECOVERY_LIST);
    int items = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int item = 0; item < items; ++item)
    {
        if (SendMessageA(list, LB_GETSEL, item, 0) <= 0)
            continue;
        LRESULT index = SendMessageA(list, LB_GETITEMDATA, item, 0);
        if (index >= 0 && index < g_recoverable.count)
            ShowRecoveredWindows(&g_recoverable.windows[index], 1);
    }
}

static INT_PTR CALLBACK RecoveryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
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
            ShowRecoveredWindows(g_recoverable.windows, g_recoverable.count);
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

static const char* SkipSpaces(const char* text)
{
    while (*text == ' ' || *text == '\t')
        ++text;
    return text;
}

// Copies the argument after an option: a quoted path, or the rest of the line.
static void CopyArgument(const char* text, char* out, int size)
{
    text = SkipSpaces(text);
    bool quoted = *text == '"';
    if (quoted)
        ++text;
    int length = 0;
    while (text[length] && !(quoted && text[length] == '"') && length < size - 1)
        ++length;
    while (!quoted && length > 0 && (text[length - 1] == ' ' || text[length - 1] == '\t'))
        --length;
    memcpy(out, text, length);
    out[length] = '\0';
}

extern "C" void CALLBACK RecoverWindows(HWND owner, HINSTANCE, LPSTR commandLine, int)
{
    const char* arguments = SkipSpaces(commandLine ? commandLine : "");
    if (strncmp(arguments, "/all", 4) == 0)
    {
        ListHiddenApplicationWindows(&g_recoverable);
        ShowRecoveredWindows(g_recoverable.windows, g_recoverable.count);
        return;
    }
    if (strncmp(arguments, "/state", 6) == 0)
    {
        char path[MAX_PATH];
        CopyArgument(arguments + 6, path, sizeof(path));
        if (ListStateFileWindows(path, &g_recoverable))
            ShowRecoveredWindows(g_recoverable.windows, g_recoverable.count);
        return;
    }
    DialogBoxParamA(g_moduleState.moduleInstance, MAKEINTRESOURCEA(IDD_RECOVERY), owner, RecoveryDialogProc, 0);
}
