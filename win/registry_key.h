// A registry key closed when the scope ends.
#pragma once

#include <windows.h>

class CRegistryKey
{
public:
    CRegistryKey() : key(NULL) {}
    ~CRegistryKey()
    {
        if (key)
            RegCloseKey(key);
    }
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;

    // Once per scope; the handle is kept only when the call succeeded.
    LONG Open(HKEY root, const wchar_t* path, REGSAM access)
    {
        HKEY opened = NULL;
        LONG result = RegOpenKeyExW(root, path, 0, access, &opened);
        key = result == ERROR_SUCCESS ? opened : NULL;
        return result;
    }
    LONG Create(HKEY root, const wchar_t* path, REGSAM access)
    {
        HKEY made = NULL;
        LONG result = RegCreateKeyExW(root, path, 0, NULL, REG_OPTION_NON_VOLATILE, access, NULL, &made, NULL);
        key = result == ERROR_SUCCESS ? made : NULL;
        return result;
    }
    // For an opening call of its own (an ANSI one, say); before any other.
    HKEY* Receive() { return &key; }
    HKEY get() const { return key; }

private:
    HKEY key;
};
