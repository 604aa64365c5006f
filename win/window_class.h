// How the window filters read a top-level window's class.
#pragma once

#include <windows.h>
#include <string.h>

const int kClassNameSize = 200;

// False for an invisible window; otherwise true with its class name
// (read with a limit of 199 characters).
inline bool ReadVisibleClassName(HWND window, char (&className)[kClassNameSize])
{
    className[0] = '\0';
    if (!IsWindowVisible(window))
        return false;
    GetClassNameA(window, className, kClassNameSize - 1);
    return true;
}

// Byte for byte, case-sensitive, whole string.
inline bool IsClassName(const char* className, const char* wanted)
{
    return strcmp(className, wanted) == 0;
}
