// Keys against clicks: a switch by key against a click on the cell, and the
// send of one window of another process against the floor's one hide of it.
// What a key is timed for is the pager's handling of its WM_HOTKEY; the
// system's way from SendInput to the queue is the same for any program.
#include "bench/bench_cases.h"

#include <stdio.h>

#include "bench/bench_pager.h"
#include "bench/bench_stats.h"
#include "bench/bench_windows.h"
#include "core/desktop_table.h"
#include "core/key_commands.h"
#include "dialog/keys_dialog.h"
#include "plugin/hot_keys.h"
#include "tests/support/key_press.h"

namespace {

const HotKey kCtrlAlt = (HOTKEYF_CONTROL | HOTKEYF_ALT) << 8;
const HotKey kArrow = HOTKEYF_EXT << 8;
const HotKey kSendToDesktop2Key = kCtrlAlt | (HOTKEYF_SHIFT << 8) | '2';

// Presses the key, waits (untimed) for its WM_HOTKEY and times its handling.
double TimeKey(HotKey key)
{
    if (!SendHotKeyInput(key))
        return 0;
    MSG msg;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 2000; Sleep(0))
    {
        if (PeekMessageA(&msg, NULL, WM_HOTKEY, WM_HOTKEY, PM_REMOVE))
            return TimeOf([&] { DispatchMessageA(&msg); });
        PumpPending();
    }
    fprintf(stderr, "no WM_HOTKEY for key %04x\n", key);
    return 0;
}

Row KeyRow(const char* name, int n, const char* unit)
{
    Row row;
    row.name = name;
    row.count = n;
    row.unit = unit;
    row.unitsPerSample = 1;
    return row;
}

void RunKeySwitch(int n, int rounds)
{
    CWindowOwner owner(kOtherProcess);
    CBenchPager pager(40);
    owner.Create(n, "Parked", true);
    pager.Click(1);
    owner.Create(n, "Shown", true);
    owner.WaitUntilIdle();
    // Each side goes to desktop 1 and back; the key side first.
    Row row = KeyRow("switch by key against a click, windows of another process", n, "switch");
    row.samples = Interleave(
        rounds,
        [&](std::vector<double>& samples) {
            for (UINT arrow : {VK_LEFT, VK_RIGHT})
            {
                samples.push_back(TimeKey(kCtrlAlt | kArrow | arrow));
                owner.WaitUntilIdle();
            }
        },
        [&](std::vector<double>& samples) {
            for (int cell : {0, 1})
            {
                samples.push_back(TimeOf([&] { pager.Click(cell); }));
                owner.WaitUntilIdle();
            }
        });
    if (g_desktopTable.Current() != 1)
        fprintf(stderr, "the key switches ended on desktop %d\n", g_desktopTable.Current() + 1);
    PrintRow(row);
    ForgetAllWindows();
}

void RunSend(int rounds)
{
    CWindowOwner owner(kOtherProcess);
    CBenchPager pager(40);
    g_desktopTable.ChangeCount(4);
    std::vector<HWND> windows = owner.Create(10, "Sent", true);
    owner.WaitUntilIdle();
    KeyBindings keys;
    DefaultKeyBindings(&keys);
    keys.keys[kSendToDesktop1 + 1] = kSendToDesktop2Key;
    SaveKeyBindings(keys);
    HotKeyRegistrar().Apply(keys);
    HWND sent = windows.back();
    int wrong = 0;
    // The send takes the active window: it must be this one again.
    auto bringBack = [&] {
        ShowWindow(sent, SW_SHOWNA);
        for (int i = 0; i < 100 && GetForegroundWindow() != sent; ++i)
        {
            SetForegroundWindow(sent);
            owner.WaitUntilIdle();
        }
    };
    bringBack();
    Row row = KeyRow("send one window of another process against its one hide", 1, "window");
    row.samples = Interleave(
        rounds,
        [&](std::vector<double>& samples) {
            samples.push_back(TimeKey(kSendToDesktop2Key));
            wrong += IsWindowVisible(sent) != FALSE;
            bringBack();
        },
        [&](std::vector<double>& samples) {
            samples.push_back(TimeOf([&] { ShowWindow(sent, SW_HIDE); }));
            bringBack();
        });
    if (wrong)
        fprintf(stderr, "%d sends left the window on screen\n", wrong);
    PrintRow(row);
    DefaultKeyBindings(&keys);
    SaveKeyBindings(keys);
    ForgetAllWindows();
}

}  // namespace

void RunKeyCases(const BenchOptions& options)
{
    int rounds = options.quick ? 7 : 31;
    RunKeySwitch(10, rounds);
    RunSend(rounds);
}
