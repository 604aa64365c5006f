// Whether the desktop window manager keeps a visible window off screen.
#pragma once

#include <windows.h>

// Since Windows 8 the desktop window manager cloaks windows that keep
// WS_VISIBLE but are not on screen: suspended store apps, input-method hosts,
// windows on another of the system's own virtual desktops. dwmapi.dll is
// loaded at run time, so that the module imports nothing more and still loads
// where the library is missing: from the system folder only (a dwmapi.dll in
// the host's own folder is never loaded), once per process, and kept.

// Loads the library if not yet done. Call it where no lock is held: loading
// takes the loader lock, and a virus scanner may make it slow.
void PrepareCloakQuery();

class CCloakQuery
{
public:
    CCloakQuery();
    CCloakQuery(const CCloakQuery&) = delete;
    CCloakQuery& operator=(const CCloakQuery&) = delete;

    bool IsCloaked(HWND window) const;

private:
    typedef HRESULT(WINAPI* GetAttributeProc)(HWND, DWORD, PVOID, DWORD);
    GetAttributeProc getAttribute;
};

// The answer of DwmGetWindowAttribute(DWMWA_CLOAKED): a failed query (no
// desktop window manager, an older system, a closed window) means not cloaked.
inline bool IsCloakedAnswer(HRESULT result, DWORD cloaked)
{
    return SUCCEEDED(result) && cloaked != 0;
}
