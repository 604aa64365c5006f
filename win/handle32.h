// Window handles are kept and persisted as 32-bit values; USER handles only
// carry 32 significant bits, also in 64-bit processes.
#pragma once

#include <windows.h>
#include <stdint.h>

inline uint32_t HandleToWord(HWND window)
{
    return static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(window));
}

// Sign-extends, as the platform does when a 32-bit process hands a handle to a 64-bit one.
inline HWND WordToHandle(uint32_t word)
{
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(static_cast<int32_t>(word)));
}
