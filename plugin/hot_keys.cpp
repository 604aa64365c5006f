#include "plugin/hot_keys.h"

#include "core/key_commands.h"
#include "dialog/keys_dialog.h"
#include "plugin/live_pagers.h"
#include "plugin/pager_plugin.h"
#include "win/critical_section.h"
#include "win/module.h"

namespace {

const wchar_t kKeyWindowClass[] = L"VirtualDesktopPagerKeys";
// Hot key ids are the commands' numbers from here on.
const int kFirstKeyId = 1;
// Posted to the key window: the saved keys changed, register them anew.
const UINT kReloadKeys = WM_APP + 1;

struct HotKeyState
{
    CCriticalSection lock;
    // Written under the lock; read without it too, by a paint asking
    // whether the keys have a pager at all.
    CPagerPlugin* volatile owner;
    HWND window;
    bool taken[kKeyCommandCount];
};
HotKeyState g_keys;

// On the key window's thread.
void RegisterKeys(HWND window)
{
    KeyBindings bindings;
    bool damaged[kKeyCommandCount] = {};
    LoadKeyBindings(&bindings, damaged);
    bool taken[kKeyCommandCount];
    for (int command = 0; command < kKeyCommandCount; ++command)
    {
        UnregisterHotKey(window, kFirstKeyId + command);
        HotKey key = bindings.enabled ? bindings.keys[command] : 0;
        // A combination that another program holds (ERROR_HOTKEY_ALREADY_REGISTERED)
        // is left out; the other keys still work.
        taken[command] = damaged[command] || (key != 0 && !RegisterHotKey(window, kFirstKeyId + command,
                                                                          HotKeyModifiers(key), HotKeyVirtualKey(key)));
    }
    CLockScope guard(g_keys.lock);
    for (int command = 0; command < kKeyCommandCount; ++command)
        g_keys.taken[command] = taken[command];
}

LRESULT CALLBACK KeyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kReloadKeys)
    {
        RegisterKeys(window);
        return 0;
    }
    if (message == WM_HOTKEY)
    {
        CPagerPlugin* owner;
        {
            CLockScope guard(g_keys.lock);
            owner = g_keys.window == window ? g_keys.owner : NULL;
        }
        int command = static_cast<int>(wParam) - kFirstKeyId;
        // The owner lives on this thread, and goes only from here.
        if (owner && command >= 0 && command < kKeyCommandCount)
            owner->RunKeyCommand(command);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateKeyWindow()
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = KeyWindowProc;
    windowClass.hInstance = ModuleInstance();
    windowClass.lpszClassName = kKeyWindowClass;
    RegisterClassW(&windowClass);  // fails harmlessly once registered
    return CreateWindowExW(0, kKeyWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, ModuleInstance(), NULL);
}

class CHotKeyRegistrar : public CKeyRegistrar
{
public:
    void QueryTaken(bool* taken) override
    {
        CLockScope guard(g_keys.lock);
        for (int command = 0; command < kKeyCommandCount; ++command)
            taken[command] = g_keys.window && g_keys.taken[command];
    }

    void Apply(const KeyBindings&) override
    {
        HWND window;
        {
            CLockScope guard(g_keys.lock);
            window = g_keys.window;
        }
        if (!window)
            return;
        // A key can be registered only on its window's own thread.
        if (GetWindowThreadProcessId(window, NULL) == GetCurrentThreadId())
            RegisterKeys(window);
        else
            PostMessageW(window, kReloadKeys, 0, 0);
    }
};
CHotKeyRegistrar g_registrar;

}  // namespace

void ClaimHotKeys(CPagerPlugin* pager)
{
    if (g_keys.owner)
        return;
    {
        CLockScope guard(g_keys.lock);
        if (g_keys.owner)
            return;
        g_keys.owner = pager;
    }
    HWND window = CreateKeyWindow();
    {
        CLockScope guard(g_keys.lock);
        g_keys.window = window;
        // Without a window the keys are left to the next pager that tries.
        if (!window)
            g_keys.owner = NULL;
    }
    if (window)
        RegisterKeys(window);
}

void ReleaseHotKeys(CPagerPlugin* pager)
{
    HWND window;
    {
        CLockScope guard(g_keys.lock);
        if (g_keys.owner != pager)
            return;
        window = g_keys.window;
        g_keys.owner = NULL;
        g_keys.window = NULL;
    }
    if (window)
    {
        for (int command = 0; command < kKeyCommandCount; ++command)
            UnregisterHotKey(window, kFirstKeyId + command);
        DestroyWindow(window);
    }
    LivePager next;
    if (!FindOtherLivePager(pager, &next))
        return;
    if (next.thread == GetCurrentThreadId())
        ClaimHotKeys(next.pager);
    else if (next.bar)
        InvalidateRect(next.bar, NULL, FALSE);  // it claims them when it paints
}

CKeyRegistrar& HotKeyRegistrar()
{
    return g_registrar;
}

void UnregisterHotKeyClass(HINSTANCE instance)
{
    UnregisterClassW(kKeyWindowClass, instance);
}
