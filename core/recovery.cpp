#include "core/recovery.h"

#include "core/desktop_table.h"
#include "core/handle32.h"
#include "core/window_shower.h"
#include "plugin/pager_settings.h"

static void Add(RecoverableWindows* list, HWND window)
{
    if (list->count < kMaxRecoverableWindows)
        list->windows[list->count++] = window;
}

// Also guards against handles from a state file that now name something else.
static bool IsHiddenApplicationWindow(HWND window)
{
    if (!IsWindow(window) || IsWindowVisible(window) || GetWindow(window, GW_OWNER))
        return false;
    if (GetAncestor(window, GA_PARENT) != GetDesktopWindow())
        return false;
    LONG style = GetWindowLongA(window, GWL_STYLE);
    LONG exStyle = GetWindowLongA(window, GWL_EXSTYLE);
    if ((style & WS_CAPTION) != WS_CAPTION || (exStyle & WS_EX_TOOLWINDOW))
        return false;
    char title[2];
    return GetWindowTextA(window, title, sizeof(title)) > 0;
}

static BOOL CALLBACK CollectHiddenApplicationWindow(HWND window, LPARAM param)
{
    if (IsHiddenApplicationWindow(window))
        Add(reinterpret_cast<RecoverableWindows*>(param), window);
    return TRUE;
}

void ListHiddenApplicationWindows(RecoverableWindows* list)
{
    list->count = 0;
    EnumWindows(CollectHiddenApplicationWindow, reinterpret_cast<LPARAM>(list));
}

static bool ReadExactly(HANDLE file, void* buffer, DWORD size)
{
    DWORD read = 0;
    return ReadFile(file, buffer, size, &read, NULL) && read == size;
}

bool ListStateFileWindows(const char* path, RecoverableWindows* list)
{
    list->count = 0;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    // Version, settings record, desktop count and current desktop, then the nine counts.
    unsigned char header[sizeof(int32_t) + sizeof(PagerSettings) + 2 * sizeof(int32_t)];
    int32_t counts[kMaxDesktops];
    bool ok = ReadExactly(file, header, sizeof(header)) && ReadExactly(file, counts, sizeof(counts));
    for (int d = 0; ok && d < kMaxDesktops; ++d)
    {
        // A damaged count ends the walk: the entries after it cannot be placed.
        if (!IsWindowCount(counts[d]))
            break;
        for (int k = 0; ok && k < counts[d]; ++k)
        {
            DesktopEntry entry;
            ok = ReadExactly(file, &entry, sizeof(entry));
            HWND window = WordToHandle(entry.window);
            if (ok && IsHiddenApplicationWindow(window))
                Add(list, window);
        }
    }
    CloseHandle(file);
    return true;
}

void ShowRecoveredWindows(const HWND* windows, int count)
{
    CWindowShower shower;
    for (int i = 0; i < count; ++i)
        shower.Apply(windows[i], SW_SHOW);
}
