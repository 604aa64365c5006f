#include "win/window_cloak.h"

namespace {

const DWORD kCloakedAttribute = 14;  // DWMWA_CLOAKED

// The library's DwmGetWindowAttribute, once looked up; kNotFound where there is none.
void* volatile g_getAttribute;
char g_notFound;
void* const kNotFound = &g_notFound;

}  // namespace

void PrepareCloakQuery()
{
    if (g_getAttribute)
        return;
    HMODULE library = LoadLibraryExW(L"dwmapi.dll", NULL, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // A system without the flag (Windows 7 before its 2011 loader update): the full path instead.
    wchar_t path[MAX_PATH + 16];
    UINT length = library ? 0 : GetSystemDirectoryW(path, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
    {
        lstrcatW(path, L"\\dwmapi.dll");
        library = LoadLibraryW(path);
    }
    void* found = library ? reinterpret_cast<void*>(GetProcAddress(library, "DwmGetWindowAttribute")) : NULL;
    // Two threads may both have loaded it: the library's count keeps it loaded either way.
    InterlockedCompareExchangePointer(const_cast<void**>(&g_getAttribute), found ? found : kNotFound, NULL);
}

CCloakQuery::CCloakQuery()
{
    PrepareCloakQuery();
    getAttribute = g_getAttribute == kNotFound ? NULL : reinterpret_cast<GetAttributeProc>(g_getAttribute);
}

bool CCloakQuery::IsCloaked(HWND window) const
{
    if (!getAttribute)
        return false;
    DWORD cloaked = 0;
    HRESULT result = getAttribute(window, kCloakedAttribute, &cloaked, sizeof(cloaked));
    return IsCloakedAnswer(result, cloaked);
}
