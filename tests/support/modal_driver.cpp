#include "support/modal_driver.h"

#include <string.h>
#include <string>

namespace {

ModalDriver* g_driver = NULL;
const UINT kTickMilliseconds = 20;

struct Search
{
    const char* className;
    const char* caption;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param)
{
    Search* search = reinterpret_cast<Search*>(param);
    char text[256];
    if (!IsWindowVisible(window) || !GetClassNameA(window, text, sizeof(text)) ||
        lstrcmpiA(text, search->className) != 0)
        return TRUE;
    if (search->caption)
    {
        GetWindowTextA(window, text, sizeof(text));
        if (strcmp(text, search->caption) != 0)
            return TRUE;
    }
    search->found = window;  // the last one: the innermost of nested dialogs
    return TRUE;
}

HWND FindInThread(const char* className, const char* caption)
{
    Search search = {className, caption, NULL};
    EnumThreadWindows(GetCurrentThreadId(), MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK CloseEverything(HWND window, LPARAM)
{
    char className[64];
    GetClassNameA(window, className, sizeof(className));
    if (strcmp(className, "#32770") == 0)
        EndDialog(window, IDCANCEL);
    else if (strcmp(className, "VelmoraColorPickerClass") == 0)
        DestroyWindow(window);
    return TRUE;
}

}  // namespace

HWND FindThreadDialog(const char* caption)
{
    return FindInThread("#32770", caption);
}

HWND FindThreadWindow(const char* className)
{
    return FindInThread(className, NULL);
}

ModalDriver::Finder DialogCaptioned(const char* caption)
{
    std::string wanted = caption;
    return [wanted]() { return FindThreadDialog(wanted.c_str()); };
}

ModalDriver::ModalDriver(int maxTickCount) : maxTicks(maxTickCount)
{
    g_driver = this;
    timer = SetTimer(NULL, 0, kTickMilliseconds, Tick);
}

ModalDriver::~ModalDriver()
{
    KillTimer(NULL, timer);
    g_driver = NULL;
}

ModalDriver& ModalDriver::Then(Finder find, Action act)
{
    steps.push_back(Step{find, act});
    return *this;
}

void CALLBACK ModalDriver::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_driver)
        g_driver->OnTick();
}

void ModalDriver::OnTick()
{
    if (++ticks > maxTicks)
        gaveUp = true;
    if (gaveUp)
    {
        EnumThreadWindows(GetCurrentThreadId(), CloseEverything, 0);
        return;
    }
    if (next >= steps.size())
        return;
    HWND window = steps[next].find();
    if (!window)
        return;
    // Moved on first: the action may run a nested modal loop whose ticks
    // take the following steps.
    Action act = steps[next].act;
    ++next;
    act(window);
}
