#include "win/window_cloak.h"

namespace {

const DWORD kCloakedAttribute = 14;  // DWMWA_CLOAKED

}  // namespace

CCloakQuery::CCloakQuery() : library(LoadLibraryA("dwmapi.dll")), getAttribute(NULL)
{
    if (library)
        getAttribute = reinterpret_cast<GetAttributeProc>(
            reinterpret_cast<void*>(GetProcAddress(library, "DwmGetWindowAttribute")));
}

CCloakQuery::~CCloakQuery()
{
    if (library)
        FreeLibrary(library);
}

bool CCloakQuery::IsCloaked(HWND window) const
{
    if (!getAttribute)
        return false;
    DWORD cloaked = 0;
    HRESULT result = getAttribute(window, kCloakedAttribute, &cloaked, sizeof(cloaked));
    return IsCloakedAnswer(result, cloaked);
}
