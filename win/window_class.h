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

// Shell windows that belong to no desktop, beside the main taskbar and
// "Progman": the taskbars of the other monitors and the desktop's "WorkerW"
// windows (wallpaper and icons).
inline bool IsShellWindowClass(const char* className)
{
    return IsClassName(className, "Shell_SecondaryTrayWnd") || IsClassName(className, "WorkerW");
}
