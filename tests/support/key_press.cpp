#include "support/key_press.h"

#include <vector>


bool SendHotKeyInput(HotKey key)
{
    std::vector<INPUT> inputs;
    auto add = [&](WORD vk, bool up, bool extended) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
        inputs.push_back(input);
    };
    BYTE modifiers = HIBYTE(key);
    std::vector<WORD> held;
    if (modifiers & HOTKEYF_CONTROL)
        held.push_back(VK_CONTROL);
    if (modifiers & HOTKEYF_ALT)
        held.push_back(VK_MENU);
    if (modifiers & HOTKEYF_SHIFT)
        held.push_back(VK_SHIFT);
    for (WORD vk : held)
        add(vk, false, false);
    add(LOBYTE(key), false, (modifiers & HOTKEYF_EXT) != 0);
    add(LOBYTE(key), true, (modifiers & HOTKEYF_EXT) != 0);
    for (auto vk = held.rbegin(); vk != held.rend(); ++vk)
        add(*vk, true, false);
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

bool PressHotKey(HotKey key, DWORD limitMs)
{
    if (!SendHotKeyInput(key))
        return false;
    bool arrived = false;
    for (DWORD start = GetTickCount(); !arrived && GetTickCount() - start < limitMs; Sleep(1))
    {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
        {
            arrived = arrived || msg.message == WM_HOTKEY;
            DispatchMessageA(&msg);
        }
    }
    return arrived;
}
