// A modal dialog run from a dialog-template resource, its messages routed to
// virtual handlers of the object.
#pragma once

#include <windows.h>

class CDialogBase
{
public:
    explicit CDialogBase(int id);
    virtual ~CDialogBase();

    // Every message without a routing of its own; handled = TRUE makes the
    // result the dialog procedure's answer.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnNotify(WPARAM wParam, LPARAM lParam);
    virtual void OnPaint();
    // WM_COMMAND for any control other than IDOK and IDCANCEL.
    virtual void OnDialogCommand(WPARAM wParam);
    // FALSE keeps the dialog open.
    virtual BOOL OnOK();
    virtual void OnInitDialog();

    // The template is looked up in `instance`, then in the module; the dialog
    // is created with `instance` either way. 0 when no template is found,
    // else what the dialog ended with (1 OK, 2 cancel).
    int RunModal(HWND owner, HINSTANCE instance);

    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    int dialogId;
    HWND dialogWindow;  // kept after the dialog ends
    HWND askedControl;  // the control a WM_CTLCOLORSTATIC is passed on to, while it is
};
