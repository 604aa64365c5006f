// Drives the pager as a host does while the windows around it come and go:
// windows of three threads and of one other process are made, destroyed and
// minimized; their owners stall for a while or start work when a window of
// theirs is hidden; a second bar on another thread asks its own pager for its
// layout and tooltips, also while the first one switches; a host reloads its
// state (another desktop count) or rebuilds a bar from inside a switch, and
// the second bar's thread, busy while the first bar switches, rebuilds its
// bar before it carries out the requests that switch queued to it. Keys are
// pressed as a user presses them: next and previous desktop, sending or
// carrying the active window, pinning it.
// After every switch every live window must be visible exactly when it lies
// on the current desktop, and no switch may wait longer than its bound (see
// BoundMs);
// at the end the pagers are released and every live window must be visible.
//   chaos_run [actions] [seed]
//   chaos_run --owner     (the other process: an application with windows)
#include <windows.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <map>
#include <utility>
#include <vector>

#include "core/key_commands.h"
#include "support/event_log.h"
#include "support/key_press.h"
#include "support/pager_module.h"
#include "support/recording_site.h"
#include "support/recording_stream.h"
#include "support/seeded_random.h"
#include "support/state_stream_bytes.h"
#include "win/window_shower.h"

namespace {

// A switch waits at most the hang probe's limit on any one call to another
// thread, one call for each window it moves; two seconds on top cover its
// own work, the changes a host makes from inside it and a loaded machine.
DWORD BoundMs(int windowsMoved)
{
    return 2000 + kHungProbeTimeoutMs * static_cast<DWORD>(windowsMoved);
}
const size_t kMaxWindows = 40;

const UINT kCreate = WM_APP + 20;    // lParam: x, y; returns the window
const UINT kDestroy = WM_APP + 21;   // lParam: the window
const UINT kMinimize = WM_APP + 22;  // lParam: the window
const UINT kStall = WM_APP + 23;     // wParam: milliseconds without pumping
const UINT kBusyOnHide = WM_APP + 24;
const UINT kRebuildWhenSet = WM_APP + 25;  // wParam: the event to wait for first
HANDLE g_rebuilt = NULL;                    // set once the rebuild is done
const char kControlClass[] = "ChaosControl";
const char kAppClass[] = "ChaosApp";
const char kBusyProperty[] = "ChaosBusy";

IBarPlugin* g_secondPager = NULL;  // the second bar's, used on its thread only
DWORD g_secondThread = 0;
std::vector<IBarPlugin*> g_hostPagers;  // the main thread's pagers, for a change from inside a switch
PagerModule* g_module = NULL;
DWORD g_mainThread = 0;
int g_change = 0;  // armed for the next hide of a main-thread window: 1 reload, 2 rebuild

// What the main thread is doing, for the watchdog: an action that does not
// end within kStuckMs is a hang, reported instead of waited out.
const DWORD kStuckMs = 30000;
volatile LONG g_actions = 0;
volatile LONG g_actionKind = -1;
DWORD WINAPI Watchdog(LPVOID)
{
    for (;;)
    {
        LONG before = g_actions;
        Sleep(kStuckMs);
        if (g_actions == before && g_actionKind >= 0)
        {
            printf("stuck for %lu ms in action %ld (kind %ld)\n", static_cast<unsigned long>(kStuckMs), before,
                   g_actionKind);
            fflush(stdout);
            ExitProcess(3);
        }
    }
}

void AskSecondPager()
{
    BarInfo info = {kInfoWidth, 0, 0, 0, 40, 0, ""};
    static char tooltip[kTooltipTextSize];
    g_secondPager->GetInfo(&info);
    int count = 0;
    g_secondPager->GetItemInfo(kItemCount, 0, &count);
    for (int cell = 0; cell < count; ++cell)
        g_secondPager->GetItemInfo(kItemTooltip, cell, tooltip);
}

// A host reloading its state with another desktop count and no windows, as
// after a change of its settings, or rebuilding a bar.
void ChangeFromInsideTheSwitch()
{
    int change = g_change;
    g_change = 0;
    if (change == 1)
    {
        static int count = 2;
        count = count % 8 + 2;
        RecordingStream stream(BuildStream(DefaultSettingsBytes(), count, 0, {}));
        g_hostPagers[0]->Load(&stream);
    }
    else if (change == 2)
    {
        g_module->CreatePager()->Release();
    }
}

LRESULT CALLBACK AppProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SHOWWINDOW && !wParam)
    {
        if (RemovePropA(window, kBusyProperty))
            PostMessageA(window, kStall, 150, 0);
        if (g_secondPager && GetCurrentThreadId() == g_secondThread)
            AskSecondPager();
        if (g_change && GetCurrentThreadId() == g_mainThread)
            ChangeFromInsideTheSwitch();
    }
    if (message == kStall)
        Sleep(static_cast<DWORD>(wParam));
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK ControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = reinterpret_cast<HWND>(lParam);
    switch (message)
    {
    case kCreate:
        return reinterpret_cast<LRESULT>(CreateWindowExA(0, kAppClass, "chaos window", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                                         LOWORD(lParam), HIWORD(lParam), 240, 160, NULL, NULL,
                                                         GetModuleHandleA(NULL), NULL));
    case kDestroy:
        return DestroyWindow(window);
    case kMinimize:
        return ShowWindow(window, SW_MINIMIZE);
    case kStall:
        Sleep(static_cast<DWORD>(wParam));
        return 0;
    case kBusyOnHide:
        return SetPropA(window, kBusyProperty, reinterpret_cast<HANDLE>(1));
    case kRebuildWhenSet:
        WaitForSingleObject(reinterpret_cast<HANDLE>(wParam), 10000);
        if (g_secondPager && GetCurrentThreadId() == g_secondThread)
        {
            g_secondPager->Release();
            g_secondPager = g_module->CreatePager();
        }
        SetEvent(g_rebuilt);
        return 0;
    default:
        return DefWindowProcA(control, message, wParam, lParam);
    }
}

void RegisterClasses()
{
    WNDCLASSA app = {};
    app.lpfnWndProc = AppProc;
    app.hInstance = GetModuleHandleA(NULL);
    app.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    app.lpszClassName = kAppClass;
    RegisterClassA(&app);
    WNDCLASSA control = {};
    control.lpfnWndProc = ControlProc;
    control.hInstance = GetModuleHandleA(NULL);
    control.lpszClassName = kControlClass;
    RegisterClassA(&control);
}

HWND MakeControl(const char* name)
{
    return CreateWindowExA(0, kControlClass, name, 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, GetModuleHandleA(NULL), NULL);
}

void Pump()
{
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0)
        DispatchMessageA(&msg);
}

struct OwnerStart
{
    const char* name;
    bool secondBar;
    HANDLE ready;
};

DWORD WINAPI OwnerThread(LPVOID param)
{
    OwnerStart* start = static_cast<OwnerStart*>(param);
    MakeControl(start->name);
    if (start->secondBar)
    {
        // The second bar asks its pager for its layout and tooltips all along.
        g_secondPager = g_module->CreatePager();
        g_secondThread = GetCurrentThreadId();
        SetTimer(NULL, 0, 7, NULL);
    }
    SetEvent(start->ready);
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0)
    {
        if (msg.message == WM_TIMER && g_secondPager && GetCurrentThreadId() == g_secondThread)
            AskSecondPager();
        DispatchMessageA(&msg);
    }
    bool secondBar = GetCurrentThreadId() == g_secondThread;
    if (secondBar && g_secondPager)
        std::exchange(g_secondPager, nullptr)->Release();
    return 0;
}

struct Tracked
{
    HWND control;  // of the owner
    int desktop;
    bool pinned;
};

const HotKey kCtrlAlt = (HOTKEYF_CONTROL | HOTKEYF_ALT) << 8;
const HotKey kShift = HOTKEYF_SHIFT << 8;
const HotKey kArrow = HOTKEYF_EXT << 8;

// The keys this run presses besides the default arrows.
void BindKeys()
{
    KeyBindings keys;
    DefaultKeyBindings(&keys);
    for (int d = 0; d < kMaxDesktops; ++d)
        keys.keys[kSendToDesktop1 + d] = kCtrlAlt | kShift | static_cast<HotKey>('1' + d);
    keys.keys[kPinWindow] = kCtrlAlt | kShift | 'P';
    SaveKeyBindings(keys);
}


class Chaos
{
public:
    Chaos(uint32_t seed) : random(seed) {}

    int Run(long actions)
    {
        PagerModule module;
        g_module = &module;
        g_mainThread = GetCurrentThreadId();
        g_rebuilt = CreateEventA(NULL, TRUE, FALSE, NULL);
        RegisterClasses();
        BindKeys();
        controls.push_back(MakeControl("main"));
        const char* names[] = {"owner", "second bar"};
        std::vector<HANDLE> threads;
        for (int i = 0; i < 2; ++i)
        {
            OwnerStart start = {names[i], i == 1, CreateEventA(NULL, TRUE, FALSE, NULL)};
            threads.push_back(CreateThread(NULL, 0, OwnerThread, &start, 0, NULL));
            WaitForSingleObject(start.ready, 10000);
            CloseHandle(start.ready);
            controls.push_back(FindWindowExA(HWND_MESSAGE, NULL, kControlClass, names[i]));
        }
        HWND process = StartOwnerProcess();
        if (process)
            controls.push_back(process);

        // The bar: a window of the main thread, with the pager laid out on it.
        HWND bar = CreateWindowExA(0, kAppClass, "chaos bar", WS_POPUP | WS_VISIBLE, 0, 900, 400, 40, NULL, NULL,
                                   GetModuleHandleA(NULL), NULL);
        RecordingSite site;
        pager = module.CreatePager();
        g_hostPagers.push_back(pager);
        PlaceOnBar(pager, site, bar);

        CloseHandle(CreateThread(NULL, 0, Watchdog, NULL, 0, NULL));
        for (long action = 0; action < actions; ++action)
        {
            Act();
            ClearEvents();
            InterlockedIncrement(&g_actions);
        }

        // The host lets go: every window it parked comes back.
        InterlockedExchange(&g_actionKind, 10);
        InterlockedIncrement(&g_actions);
        g_hostPagers.clear();
        pager->Release();
        Quiesce();
        long hidden = 0;
        for (auto& window : windows)
            hidden += IsWindow(window.first) && !IsWindowVisible(window.first);
        printf("%ld actions, %ld switches, %ld windows wrong, %ld hidden at the end, slowest switch %lu ms "
               "(bound %lu ms), %ld over their bound, seed %u\n",
               actions, switches, wrong, hidden, static_cast<unsigned long>(slowest),
               static_cast<unsigned long>(slowestBound), overBound, seed);

        if (process)
            PostMessageA(process, WM_QUIT, 0, 0);
        for (HANDLE thread : threads)
        {
            PostThreadMessageA(GetThreadId(thread), WM_QUIT, 0, 0);
            WaitForSingleObject(thread, 10000);
            CloseHandle(thread);
        }
        if (processHandle)
        {
            WaitForSingleObject(processHandle, 5000);
            CloseHandle(processHandle);
        }
        if (!process)
            printf("the application process did not start\n");
        return wrong || hidden || overBound || !process ? 1 : 0;
    }

    uint32_t seed = 0;

private:
    HWND StartOwnerProcess()
    {
        char command[MAX_PATH + 16] = "\"";
        GetModuleFileNameA(NULL, command + 1, MAX_PATH);
        strcat(command, "\" --owner");
        STARTUPINFOA startup = {sizeof(startup)};
        PROCESS_INFORMATION info = {};
        if (!CreateProcessA(NULL, command, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info))
            return NULL;
        CloseHandle(info.hThread);
        processHandle = info.hProcess;
        for (int i = 0; i < 500; ++i)
        {
            HWND control = FindWindowExA(HWND_MESSAGE, NULL, kControlClass, "process");
            if (control)
                return control;
            Sleep(20);
        }
        return NULL;
    }

    // Every owner has handled what it was sent and posted so far.
    void Quiesce()
    {
        for (HWND control : controls)
        {
            DWORD_PTR answer;
            SendMessageTimeoutA(control, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer);
        }
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }

    HWND AnyWindow()
    {
        if (windows.empty())
            return NULL;
        auto it = windows.begin();
        std::advance(it, random.Below(static_cast<uint32_t>(windows.size())));
        return it->first;
    }

    void Act()
    {
        HWND control = controls[random.Below(static_cast<uint32_t>(controls.size()))];
        HWND window = AnyWindow();
        DWORD_PTR made = 0;
        LONG kind = static_cast<LONG>(random.Below(10));
        InterlockedExchange(&g_actionKind, kind);
        switch (kind)
        {
        case 0:
        case 1:
            if (windows.size() < kMaxWindows &&
                SendMessageTimeoutA(control, kCreate, 0, MAKELPARAM(random.Below(900), random.Below(700)),
                                    SMTO_NORMAL, 10000, &made) && made)
                windows[reinterpret_cast<HWND>(made)] = {control, current, false};
            break;
        case 2:
            if (window && windows.size() > 4)
            {
                SendMessageTimeoutA(windows[window].control, kDestroy, 0, reinterpret_cast<LPARAM>(window),
                                    SMTO_NORMAL, 10000, &made);
                windows.erase(window);
            }
            break;
        case 3:
            if (window && IsWindowVisible(window))
                SendMessageTimeoutA(windows[window].control, kMinimize, 0, reinterpret_cast<LPARAM>(window),
                                    SMTO_NORMAL, 10000, &made);
            break;
        case 4:
            PostMessageA(control, kStall, 20 + random.Below(300), 0);  // hung for a while
            break;
        case 5:
            if (window)
                SendMessageTimeoutA(windows[window].control, kBusyOnHide, 0, reinterpret_cast<LPARAM>(window),
                                    SMTO_NORMAL, 10000, &made);
            break;
        case 6:
            PressKey(window);
            break;
        default:
            Switch();
        }
    }

    void Switch()
    {
        int count = 0;
        pager->GetItemInfo(kItemCount, 0, &count);
        int target = static_cast<int>(random.Below(count > 0 ? count : 1));
        if (target == current)
            return;
        g_change = random.Below(6) == 0 ? 1 + random.Below(2) : 0;
        // The second bar's thread busy through the switch, rebuilding its bar after it.
        HANDLE rebuild = !g_change && random.Below(8) == 0 ? CreateEventA(NULL, TRUE, FALSE, NULL) : NULL;
        if (rebuild)
            ResetEvent(g_rebuilt), PostMessageA(controls[2], kRebuildWhenSet, reinterpret_cast<WPARAM>(rebuild), 0);
        bool changing = g_change != 0 || rebuild;
        int moved = 0;
        NoteVisibleWindows();
        for (auto& window : windows)
            moved += window.second.desktop == current || window.second.desktop == target;
        RECT cell;
        pager->GetItemInfo(kItemRect, target, &cell);
        DWORD start = GetTickCount();
        pager->OnClick(0, cell.left + 1, cell.top + 1);
        DWORD took = GetTickCount() - start;
        if (took > slowest)
        {
            slowest = took;
            slowestBound = BoundMs(moved);
        }
        overBound += took > BoundMs(moved);
        ++switches;
        current = target;
        g_change = 0;
        if (rebuild)
        {
            // Its rebuild answers our messages before it is done: wait for the end.
            SetEvent(rebuild);
            MSG msg;
            while (MsgWaitForMultipleObjects(1, &g_rebuilt, FALSE, 10000, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1)
                PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
        Quiesce();
        if (rebuild)
            CloseHandle(rebuild);
        if (changing)
            Resync();
        Verify("switch");
    }

    // The windows on screen lie on the current desktop (a pinned one on all).
    void NoteVisibleWindows()
    {
        for (auto& window : windows)
        {
            if (IsWindow(window.first) && IsWindowVisible(window.first))
                window.second.desktop = current;
        }
    }

    void Verify(const char* what)
    {
        for (auto& window : windows)
        {
            bool expected = window.second.pinned || window.second.desktop == current;
            if (IsWindow(window.first) && (IsWindowVisible(window.first) != FALSE) != expected && ++wrong <= 10)
                printf("%s %ld: a window of desktop %d is %s on desktop %d\n", what, switches + keys,
                       window.second.desktop, expected ? "hidden" : "visible", current);
        }
    }

    // A key, with `window` made active first: the next or previous desktop,
    // sending or carrying the active window, pinning or unpinning it.
    void PressKey(HWND window)
    {
        int count = 0;
        pager->GetItemInfo(kItemCount, 0, &count);
        if (window && IsWindowVisible(window))
            SetForegroundWindow(window);
        Quiesce();
        NoteVisibleWindows();
        int step = random.Below(2) ? 1 : -1;
        int target = current + step;
        ++keys;
        switch (random.Below(4))
        {
        case 0:
            PressHotKey(kCtrlAlt | kArrow | (step > 0 ? VK_RIGHT : VK_LEFT));
            if (target >= 0 && target < count)
                current = target;
            break;
        case 1:
            target = static_cast<int>(random.Below(count > 0 ? count : 1));
            PressHotKey(kCtrlAlt | kShift | static_cast<HotKey>('1' + target));
            break;
        case 2:
            PressHotKey(kCtrlAlt | kShift | kArrow | (step > 0 ? VK_RIGHT : VK_LEFT));
            break;
        default:
            PressHotKey(kCtrlAlt | kShift | 'P');
        }
        Quiesce();
        // The window the pager found active when the key came may not be the
        // one made active here (its owner may have been busy): where the
        // pager put it is read back, and must then match the screen.
        for (auto& window : windows)
            window.second.pinned = IsWindow(window.first) && GetPropA(window.first, "VirtualDesktopPinned");
        Resync();
        Verify("key");
    }

    // After a change of the table from inside the switch: the desktops as
    // the pager now remembers them, every other window on the current one.
    void Resync()
    {
        RecordingStream saved;
        pager->Save(&saved);
        const Bytes& bytes = saved.bytes;
        auto word = [&](size_t offset) {
            uint32_t value = 0;
            if (offset + 4 <= bytes.size())
                memcpy(&value, &bytes[offset], 4);
            return value;
        };
        current = static_cast<int>(word(68));
        std::map<uint32_t, int> remembered;
        size_t offset = 108;
        for (int d = 0; d < kMaxDesktops; ++d)
        {
            // The current desktop's list is the one recorded when it was last left.
            for (uint32_t k = 0; k < word(72 + 4 * d); ++k, offset += 12)
            {
                if (d != current)
                    remembered[word(offset)] = d;
            }
        }
        for (auto& window : windows)
        {
            auto found = remembered.find(static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(window.first)));
            window.second.desktop = found == remembered.end() ? current : found->second;
        }
    }

    SeededRandom random;
    IBarPlugin* pager = NULL;
    std::vector<HWND> controls;
    std::map<HWND, Tracked> windows;
    HANDLE processHandle = NULL;
    int current = 0;
    long switches = 0;
    long keys = 0;
    long wrong = 0;
    DWORD slowest = 0;
    DWORD slowestBound = 0;
    long overBound = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && strcmp(argv[1], "--owner") == 0)
    {
        RegisterClasses();
        MakeControl("process");
        Pump();
        return 0;
    }
    long actions = argc > 1 ? atol(argv[1]) : 300;
    uint32_t seed = argc > 2 ? static_cast<uint32_t>(strtoul(argv[2], NULL, 10)) : 20261209u;
    Chaos chaos(seed);
    chaos.seed = seed;
    return chaos.Run(actions);
}
