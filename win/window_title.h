// Reading a window's title without sending the window a message.
#pragma once

#include <windows.h>

const int kMaxTitleRead = 256;

// The title as the system keeps it, in the ANSI code page, cut to fit `size`
// bytes with its NUL. InternalGetWindowText never sends WM_GETTEXT, so neither
// a hung owner nor one that answers late can block the caller or write into
// the buffer after the call. A title that cannot be read comes back empty.
// Returns the title's length in bytes.
inline int ReadWindowTitle(HWND window, char* title, int size)
{
    if (size <= 0)
        return 0;
    title[0] = '\0';
    // A limit of no bytes would make WideCharToMultiByte report the size it needs.
    if (size == 1)
        return 0;
    WCHAR wide[kMaxTitleRead];
    int length = InternalGetWindowText(window, wide, size < kMaxTitleRead ? size : kMaxTitleRead);
    if (length <= 0)
        return 0;
    // A character may take more than one byte: whole characters are left out
    // from the end until the rest fits.
    int bytes = 0;
    while (length > 0)
    {
        // Nor is a surrogate pair cut: its first half alone would become '?'.
        if (IS_HIGH_SURROGATE(wide[length - 1]) && --length == 0)
            break;
        bytes = WideCharToMultiByte(CP_ACP, 0, wide, length, title, size - 1, NULL, NULL);
        if (bytes > 0)
            break;
        --length;
    }
    title[bytes] = '\0';
    return bytes;
}

// Whether the window has a title, from the length the system keeps: a first
// character that takes two bytes in the ANSI code page counts like any other.
inline bool HasWindowTitle(HWND window)
{
    WCHAR first[2];
    return InternalGetWindowText(window, first, 2) > 0;
}
