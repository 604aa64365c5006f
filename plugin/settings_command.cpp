// The settings command and Configure: run the settings dialog and apply it.
#include "plugin/pager_plugin.h"

#include "core/desktop_table.h"
#include "dialog/settings_dialog.h"

namespace {

// Runs the dialog on a copy of the settings, with the bar's own window as
// owner. True with the edited copy when the user pressed OK.
bool EditSettings(CPagerPlugin& pager, PagerSettings* edited)
{
    HWND owner = pager.site->GetBarWindow();
    CSettingsDialog dialog;
    dialog.settings = pager.settings;
    if (dialog.RunModal(owner, pager.resourceInstance) != IDOK)
        return false;
    *edited = dialog.settings;
    return true;
}

// A smaller count first goes to desktop 0: the current desktop's windows
// would otherwise be recorded under a desktop that no cell reaches.
void ApplySettings(CPagerPlugin& pager, const PagerSettings& edited)
{
    EnterCriticalSection(&pager.lock);
    if (edited.desktopCount < pager.settings.desktopCount ||
        g_desktopTable.currentIndex >= edited.desktopCount)
        g_desktopTable.SwitchTo(0, CPagerPlugin::FindTopLevel(pager.site->GetBarWindow()));
    pager.settings = edited;
    g_desktopTable.ChangeCount(pager.settings.desktopCount);
    LeaveCriticalSection(&pager.lock);
}

}  // namespace

// The dialog's message loop lets the host call in, and a host may release
// the pager meanwhile. The command holds a reference of its own until it is
// done; when the host has let go by the time the dialog ends, nothing is
// applied and neither the site nor the stream (both the host's) is touched.
HRESULT STDMETHODCALLTYPE CPagerPlugin::OnCommand(int id)
{
    if (id != kCommandSettings || !site)
        return 0;
    AddRef();
    PagerSettings edited;
    if (EditSettings(*this, &edited) && refCount > 1)
    {
        ApplySettings(*this, edited);
        site->Refresh(kRefreshLayout);
        site->OnStateChanged();
    }
    Release();
    return 0;
}

HRESULT STDMETHODCALLTYPE CPagerPlugin::Configure(IStream* stream)
{
    // Only the first pager object of the session configures.
    if (mutexCreateError == ERROR_ALREADY_EXISTS || !site)
        return 1;
    AddRef();
    PagerSettings edited;
    bool accepted = EditSettings(*this, &edited);
    HRESULT result = 1;
    if (refCount > 1)
    {
        if (accepted)
            ApplySettings(*this, edited);
        // The whole state goes into the stream, also after Cancel.
        result = Save(stream);
    }
    Release();
    return result;
}
