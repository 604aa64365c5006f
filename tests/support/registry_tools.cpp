#include "support/registry_tools.h"

#include <shlwapi.h>
#include <stdio.h>

#include "plugin/bar_interfaces.h"


bool KeyExists(HKEY root, const std::string& key)
{
    HKEY opened;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    RegCloseKey(opened);
    return true;
}

bool ReadValue(HKEY root, const std::string& key, const char* valueName, DWORD* type, std::string* bytes)
{
    HKEY opened;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    char data[1024];
    DWORD size = sizeof(data);
    LONG result = RegQueryValueExA(opened, valueName, NULL, type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(opened);
    if (result != ERROR_SUCCESS)
        return false;
    bytes->assign(data, size);
    return true;
}

static void DumpInto(HKEY key, const std::string& path, std::string* out)
{
    for (DWORD i = 0;; ++i)
    {
        char name[256];
        DWORD nameSize = sizeof(name);
        BYTE data[4096];
        DWORD dataSize = sizeof(data);
        DWORD type = 0;
        if (RegEnumValueA(key, i, name, &nameSize, NULL, &type, data, &dataSize) != ERROR_SUCCESS)
            break;
        char line[64];
        snprintf(line, sizeof(line), "] type %lu: ", static_cast<unsigned long>(type));
        *out += path + " [" + name + line + std::string(reinterpret_cast<char*>(data), dataSize) + "\n";
    }
    for (DWORD i = 0;; ++i)
    {
        char name[256];
        DWORD nameSize = sizeof(name);
        if (RegEnumKeyExA(key, i, name, &nameSize, NULL, NULL, NULL, NULL) != ERROR_SUCCESS)
            break;
        std::string child = path + "\\" + name;
        *out += child + "\n";
        HKEY opened;
        if (RegOpenKeyExA(key, name, 0, KEY_READ, &opened) == ERROR_SUCCESS)
        {
            DumpInto(opened, child, out);
            RegCloseKey(opened);
        }
    }
}

std::string DumpKey(HKEY root, const std::string& key)
{
    std::string out;
    HKEY opened;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return "(missing)";
    DumpInto(opened, key, &out);
    RegCloseKey(opened);
    return out;
}

void RemovePagerRegistration()
{
    SHDeleteKeyA(HKEY_CLASSES_ROOT, kPagerClassKey);
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, kPagerPluginKey);
}
