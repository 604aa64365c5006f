#include "core/recovery.h"

#include <shlwapi.h>
#include <string.h>

#include "core/parked_mark.h"
#include "core/state_stream.h"
#include "win/handle32.h"
#include "win/window_cloak.h"
#include "win/window_shower.h"
#include "win/window_title.h"

// Also guards against handles from a state file that now name something else.
static bool IsHiddenApplicationWindow(HWND window, const CCloakQuery& cloak)
{
    if (!IsWindow(window) || IsWindowVisible(window) || GetWindow(window, GW_OWNER))
        return false;
    if (GetAncestor(window, GA_PARENT) != GetDesktopWindow())
        return false;
    LONG style = GetWindowLongA(window, GWL_STYLE);
    LONG exStyle = GetWindowLongA(window, GWL_EXSTYLE);
    if ((style & WS_CAPTION) != WS_CAPTION || (exStyle & WS_EX_TOOLWINDOW))
        return false;
    return HasWindowTitle(window) && !cloak.IsCloaked(window);
}

struct ParkedSearch
{
    RecoverableWindows* list;
    CCloakQuery cloak;
};

static BOOL CALLBACK CollectHiddenApplicationWindow(HWND window, LPARAM param)
{
    // Programs keep windows of their own hidden (consoles of background
    // programs, main windows of tray programs); only the pager's are offered.
    ParkedSearch* search = reinterpret_cast<ParkedSearch*>(param);
    if (IsParked(window) && IsHiddenApplicationWindow(window, search->cloak))
        search->list->Add(window);
    return TRUE;
}

void ListParkedApplicationWindows(RecoverableWindows* list)
{
    list->Clear();
    ParkedSearch search;
    search.list = list;
    EnumWindows(CollectHiddenApplicationWindow, reinterpret_cast<LPARAM>(&search));
}

bool ListStateFileWindows(const char* path, RecoverableWindows* list)
{
    list->Clear();
    IStream* stream = NULL;
    if (FAILED(SHCreateStreamOnFileA(path, STGM_READ | STGM_SHARE_DENY_NONE, &stream)) || !stream)
        return false;
    PagerSettings settings;
    memset(&settings, 0, sizeof(settings));
    // The recovery's own: it runs apart from any pager.
    static DesktopLists staged;
    StoredState state;
    ReadStateHead(stream, &settings, &state);
    ReadStateLists(stream, &state, &staged);
    stream->Release();

    // The entries that arrived, desktop by desktop.
    CCloakQuery cloak;
    int remaining = state.arrivedEntries;
    for (int d = 0; d < kMaxDesktops && remaining > 0; ++d)
    {
        for (int k = 0; k < state.windowCounts[d] && remaining > 0; ++k, --remaining)
        {
            HWND window = WordToHandle(staged.entries[d][k].window);
            if (IsHiddenApplicationWindow(window, cloak))
                list->Add(window);
        }
    }
    return true;
}

void ShowRecoveredWindows(const HWND* windows, int count)
{
    CWindowShower shower;
    for (int i = 0; i < count; ++i)
        ShowParked(windows[i], shower);
}
