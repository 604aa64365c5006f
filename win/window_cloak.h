// Whether the desktop window manager keeps a visible window off screen.
#pragma once

#include <windows.h>

// Since Windows 8 the desktop window manager cloaks windows that keep
// WS_VISIBLE but are not on screen: suspended store apps, input-method hosts,
// windows on another of the system's own virtual desktops. dwmapi.dll is
// loaded at run time, for the life of one query object, so that the module
// imports nothing more and still loads where the library is missing.
class CCloakQuery
{
public:
    CCloakQuery();
    ~CCloakQuery();
    CCloakQuery(const CCloakQuery&) = delete;
    CCloakQuery& operator=(const CCloakQuery&) = delete;

    bool IsCloaked(HWND window) const;

private:
    typedef HRESULT(WINAPI* GetAttributeProc)(HWND, DWORD, PVOID, DWORD);
    HMODULE library;
    GetAttributeProc getAttribute;
};

// The answer of DwmGetWindowAttribute(DWMWA_CLOAKED): a failed query (no
// desktop window manager, an older system, a closed window) means not cloaked.
inline bool IsCloakedAnswer(HRESULT result, DWORD cloaked)
{
    return SUCCEEDED(result) && cloaked != 0;
}
