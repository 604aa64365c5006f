// The keys dialog: a key per pager command, edited on a working copy of the
// user's keys; OK saves them and has them registered at once.
#pragma once

#include <windows.h>

#include "core/key_commands.h"
#include "dialog/dialog_base.h"
#include "dialog/keys_ids.h"

// Registers keys for the dialog.
class CKeyRegistrar
{
public:
    // Per command: true when its key could not be registered (another program holds it).
    virtual void QueryTaken(bool* taken /* kKeyCommandCount */) = 0;
    // Registers `bindings` at once (after they were saved).
    virtual void Apply(const KeyBindings& bindings) = 0;

protected:
    ~CKeyRegistrar() {}
};

class CKeysDialog : public CDialogBase
{
public:
    explicit CKeysDialog(CKeyRegistrar* registrar);

    void OnInitDialog() override;
    BOOL OnOK() override;
    void OnDialogCommand(WPARAM wParam) override;
    LRESULT OnNotify(WPARAM wParam, LPARAM lParam) override;

    KeyBindings bindings;
    bool bindingsGiven;  // set by a caller that filled `bindings`; else the dialog loads them

private:
    static const int kMaxLayouts = 32;

    void AddRows();
    void ShowRows();
    void Note(int command, wchar_t* note) const;
    int SelectedCommand() const;
    void ShowSelectedKey();
    void SetSelectedKey(HotKey key);

    CKeyRegistrar* registrar;
    bool taken[kKeyCommandCount];
    bool damaged[kKeyCommandCount];
    HKL layouts[kMaxLayouts];
    int layoutCount;
    bool showingKey;  // the control's key is being set from a row, not by the user
};
