// The settings command and Configure: run the settings dialog and apply it.
#include "plugin/pager_plugin.h"

#include "core/desktop_table.h"
#include "plugin/hot_keys.h"
#include "plugin/pager_call.h"
#include "dialog/settings_dialog.h"

namespace {

// Runs the dialog on a copy of the settings, with the bar's own window as
// owner (handed back in *owner). True with the edited copy when the user
// pressed OK.
bool EditSettings(CPagerPlugin& pager, PagerSettings* edited, HWND* owner)
{
    *owner = pager.site->GetBarWindow();
    CSettingsDialog dialog;
    dialog.settings = pager.settings;
    dialog.keyRegistrar = &HotKeyRegistrar();
    if (dialog.RunModal(*owner, pager.resourceInstance) != IDOK)
        return false;
    *edited = dialog.settings;
    return true;
}

// A smaller count first goes to desktop 0: the current desktop's windows
// would otherwise be recorded under a desktop that no cell reaches. The host
// may have taken its site away while the dialog was open; the bar's window
// is then the one the dialog was opened for.
void ApplySettings(CPagerPlugin& pager, const PagerSettings& edited, HWND owner)
{
    CPagerCall call(pager);
    bool leaving;
    HWND bar;
    {
        CLockScope guard(pager.lock);
        leaving = edited.desktopCount < pager.settings.desktopCount || g_desktopTable.Current() >= edited.desktopCount;
        bar = !leaving ? NULL : pager.site ? pager.site->GetBarWindow() : owner;
    }
    // The switch and the count change wait on windows' owners: no lock held.
    if (leaving)
        g_desktopTable.SwitchTo(0, CPagerPlugin::FindTopLevel(bar));
    {
        CLockScope guard(pager.lock);
        pager.settings = edited;
    }
    g_desktopTable.ChangeCount(edited.desktopCount);
}

}  // namespace

// The dialog's message loop lets the host call in, and a host may release
// the pager meanwhile. The command holds a reference of its own until it is
// done; when the host has let go by the time the dialog ends, nothing is
// applied and neither the site nor the stream (both the host's) is touched.
// A host that only took its site away gets the settings applied, and no call.
HRESULT STDMETHODCALLTYPE CPagerPlugin::OnCommand(int id)
{
    if (id != kCommandSettings || !site)
        return 0;
    CPagerCall call(*this);
    PagerSettings edited;
    HWND owner = NULL;
    if (EditSettings(*this, &edited, &owner) && refCount > 1)
    {
        ApplySettings(*this, edited, owner);
        if (site)
            site->Refresh(kRefreshLayout);
        if (site)
            site->OnStateChanged();
    }
    return 0;
}

HRESULT STDMETHODCALLTYPE CPagerPlugin::Configure(IStream* stream)
{
    // Only the first pager object of the session configures.
    if (mutexCreateError == ERROR_ALREADY_EXISTS || !site)
        return 1;
    CPagerCall call(*this);
    PagerSettings edited;
    HWND owner = NULL;
    bool accepted = EditSettings(*this, &edited, &owner);
    HRESULT result = 1;
    if (refCount > 1)
    {
        if (accepted)
            ApplySettings(*this, edited, owner);
        // The whole state goes into the stream, also after Cancel.
        result = Save(stream);
    }
    return result;
}
