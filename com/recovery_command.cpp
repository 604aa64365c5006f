// RecoverWindows: a rundll32 entry point that brings back windows left hidden
// when a host died with the pager's windows parked on other desktops. It only
// reads its arguments: the windows are found in core/, the list is a dialog.
//   rundll32 pager.dll,RecoverWindows                 pick from a list
//   rundll32 pager.dll,RecoverWindows /all            show every hidden application window
//   rundll32 pager.dll,RecoverWindows /state <file>   show the windows a saved state remembers
//   rundll32 pager.dll,RecoverWindows /launch <pid>   started by the module: start the watch below
//                                                     and end at once
//   rundll32 pager.dll,RecoverWindows /watch <pid>    wait for that host to end, then show the
//                                                     windows it left parked
#include <windows.h>
#include <stdlib.h>
#include <string.h>

#include "core/host_watch.h"
#include "core/recovery.h"
#include "core/watcher_launch.h"
#include "dialog/recovery_dialog.h"

// The windows /all and /state show.
static RecoverableWindows g_recoverable;

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

// What follows `option` when the arguments start with it as a whole word, else null.
static const char* AfterOption(const char* arguments, const char* option)
{
    size_t length = strlen(option);
    if (strncmp(arguments, option, length) != 0)
        return NULL;
    char next = arguments[length];
    return next == '\0' || next == ' ' || next == '\t' ? arguments + length : NULL;
}

extern "C" void CALLBACK RecoverWindows(HWND owner, HINSTANCE, LPSTR commandLine, int)
{
    const char* arguments = SkipSpaces(commandLine ? commandLine : "");
    const char* rest;
    if (AfterOption(arguments, "/all"))
    {
        ListParkedApplicationWindows(&g_recoverable);
        ShowRecoveredWindows(g_recoverable.Items(), g_recoverable.Count());
        return;
    }
    if ((rest = AfterOption(arguments, "/state")) != NULL)
    {
        char path[MAX_PATH];
        CopyArgument(rest, path, sizeof(path));
        if (ListStateFileWindows(path, &g_recoverable))
            ShowRecoveredWindows(g_recoverable.Items(), g_recoverable.Count());
        return;
    }
    if ((rest = AfterOption(arguments, kLaunchOption)) != NULL)
    {
        LaunchWatcher(strtoul(rest, NULL, 10));
        return;
    }
    if ((rest = AfterOption(arguments, kWatchOption)) != NULL)
    {
        WatchHost(strtoul(rest, NULL, 10));
        return;
    }
    RunRecoveryDialog(owner);
}
