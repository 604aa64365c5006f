#include "dialog/dialog_base.h"

#include "win/module.h"

CDialogBase::CDialogBase(int id) : dialogId(id), dialogWindow(NULL), askedControl(NULL)
{
}

CDialogBase::~CDialogBase()
{
}

LRESULT CDialogBase::OnMessage(UINT, WPARAM, LPARAM, BOOL& handled)
{
    handled = FALSE;
    return 0;
}

LRESULT CDialogBase::OnNotify(WPARAM, LPARAM)
{
    return 0;
}

void CDialogBase::OnPaint()
{
}

void CDialogBase::OnDialogCommand(WPARAM)
{
}

BOOL CDialogBase::OnOK()
{
    return TRUE;
}

void CDialogBase::OnInitDialog()
{
}

int CDialogBase::RunModal(HWND owner, HINSTANCE instance)
{
    char name[16];
    wsprintfA(name, "#%d", dialogId);

    HINSTANCE source = instance;
    HRSRC found = FindResourceA(source, name, RT_DIALOG);
    if (!found)
    {
        source = ModuleInstance();
        found = FindResourceA(source, name, RT_DIALOG);
    }
    if (!found)
        return 0;
    HGLOBAL loaded = LoadResource(source, found);
    if (!loaded)
        return 0;
    const DLGTEMPLATE* dialogTemplate = static_cast<const DLGTEMPLATE*>(LockResource(loaded));
    if (!dialogTemplate)
    {
        FreeResource(loaded);
        return 0;
    }
    INT_PTR result = DialogBoxIndirectParamA(instance, dialogTemplate, owner, DialogProc,
                                             reinterpret_cast<LPARAM>(this));
    FreeResource(loaded);
    return static_cast<int>(result);
}

INT_PTR CALLBACK CDialogBase::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
    {
        CDialogBase* self = reinterpret_cast<CDialogBase*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, lParam);
        self->dialogWindow = window;
        self->OnInitDialog();
        return TRUE;
    }
    CDialogBase* self = reinterpret_cast<CDialogBase*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self)
        return FALSE;  // the dialog manager's messages before WM_INITDIALOG

    switch (message)
    {
    case WM_COMMAND:
        switch (LOWORD(wParam))
        {
        case IDOK:
            if (self->OnOK())
                EndDialog(self->dialogWindow, IDOK);
            break;
        case IDCANCEL:
            EndDialog(self->dialogWindow, IDCANCEL);
            break;
        default:
            self->OnDialogCommand(wParam);
            break;
        }
        return TRUE;
    case WM_NOTIFY:
        return self->OnNotify(wParam, lParam);
    case WM_PAINT:
        self->OnPaint();
        return FALSE;  // the dialog manager paints on
    case WM_CTLCOLORSTATIC:
    {
        // The control answers for its own colours; passing the dialog's own
        // handle on would only come back here. A control that passes the
        // question on to its parent (a combo box does) brings it back while
        // it is being asked: the dialog manager's default answers it then.
        HWND control = reinterpret_cast<HWND>(lParam);
        if (control == window || control == self->askedControl || !IsWindow(control))
            return FALSE;
        HWND outer = self->askedControl;
        self->askedControl = control;
        INT_PTR brush = static_cast<INT_PTR>(SendMessageA(control, message, wParam, lParam));
        self->askedControl = outer;
        return brush;
    }
    default:
    {
        BOOL handled = FALSE;
        LRESULT result = self->OnMessage(message, wParam, lParam, handled);
        return handled ? static_cast<INT_PTR>(result) : FALSE;
    }
    }
}
