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
    WCHAR wide[kMaxTitleRead];
    int length = InternalGetWindowText(window, wide, size < kMaxTitleRead ? size : kMaxTitleRead);
    if (length <= 0)
        return 0;
    // A character may take more than one byte: whole characters are left out
    // from the end until the rest fits.
    int bytes = 0;
    while (length > 0 && (bytes = WideCharToMultiByte(CP_ACP, 0, wide, length, title, size - 1, NULL, NULL)) == 0)
        --length;
    title[bytes] = '\0';
    return bytes;
}
