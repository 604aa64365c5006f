#include "com/registration.h"

#include <objbase.h>
#include <comcat.h>
#include <shlwapi.h>

#include "win/registry_key.h"

const char kPagerDescription[] = "Virtual Desktop";

// The class's key; its subkeys are spelled from it.
#define CLASS_KEY_FORMAT "CLSID\\%s"

BOOL ClassIdToRegistryText(REFCLSID classId, char text[kRegistryTextSize])
{
    text[0] = '\0';
    LPOLESTR wide = NULL;
    if (FAILED(StringFromIID(classId, &wide)) || !wide)
        return FALSE;
    int length = WideCharToMultiByte(CP_ACP, 0, wide, -1, text, kRegistryTextSize, NULL, NULL);
    IMalloc* allocator = NULL;
    if (SUCCEEDED(CoGetMalloc(MEMCTX_TASK, &allocator)))
    {
        allocator->Free(wide);
        allocator->Release();
    }
    if (length == 0)
    {
        text[0] = '\0';
        return FALSE;
    }
    return TRUE;
}

BOOL ReadModulePath(HINSTANCE instance, char path[kRegistryTextSize])
{
    DWORD length = GetModuleFileNameA(instance, path, kRegistryTextSize);
    // A path that fills the buffer may have been cut; a cut path names another file.
    if (length == 0 || length >= static_cast<DWORD>(kRegistryTextSize))
    {
        path[0] = '\0';
        return FALSE;
    }
    path[length] = '\0';
    return TRUE;
}

static BOOL WriteRow(const RegistrationRow& row, const char* classText)
{
    char keyName[kRegistryTextSize];
    wsprintfA(keyName, row.keyNameFormat, classText);
    CRegistryKey key;
    if (RegCreateKeyExA(row.rootKey, keyName, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_WRITE, NULL, key.Receive(),
                        NULL) != ERROR_SUCCESS)
        return FALSE;
    LONG written = ERROR_SUCCESS;
    if (row.valueText)
        written = RegSetValueExA(key.get(), row.valueName, 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(row.valueText), lstrlenA(row.valueText) + 1);
    return written == ERROR_SUCCESS;
}

BOOL WriteRegistrationRows(HINSTANCE instance, REFCLSID classId, const char* description)
{
    // Without the class id every key name would collapse onto "CLSID\" itself.
    char classText[kRegistryTextSize];
    char modulePath[kRegistryTextSize];
    if (!ClassIdToRegistryText(classId, classText) || !ReadModulePath(instance, modulePath))
        return FALSE;

    const RegistrationRow rows[] = {
        {HKEY_CLASSES_ROOT, CLASS_KEY_FORMAT, NULL, description},
        {HKEY_CLASSES_ROOT, CLASS_KEY_FORMAT "\\InprocServer32", NULL, modulePath},
        {HKEY_CLASSES_ROOT, CLASS_KEY_FORMAT "\\InprocServer32", "ThreadingModel", "Apartment"},
        {HKEY_LOCAL_MACHINE, "Software\\Velmora\\Quorvane\\plugins\\%s", NULL, description},
        {HKEY_LOCAL_MACHINE, "Software\\Velmora\\Quorvane\\plugins\\%s\\Langs", NULL, NULL},
        {NULL, NULL, NULL, NULL},
    };
    // A row that fails does not stop the ones after it.
    BOOL written = TRUE;
    for (const RegistrationRow* row = rows; row->rootKey; ++row)
    {
        if (!WriteRow(*row, classText))
            written = FALSE;
    }
    return written;
}

enum ServerOwner
{
    kServerIsModule,
    kServerIsOther,   // another copy's, or no server at all
    kServerUnreadable
};

// Whose server the class key names: the module at `modulePath` or another.
// A value that cannot be read may be this module's: it is not taken for another's.
static ServerOwner ReadServerOwner(const char* classKey, const char* modulePath)
{
    char serverKey[kRegistryTextSize + 16];
    wsprintfA(serverKey, "%s\\InprocServer32", classKey);
    char server[kRegistryTextSize];
    DWORD type = 0;
    DWORD size = sizeof(server) - 1;
    LONG read;
    {
        CRegistryKey key;
        LONG opened = RegOpenKeyExA(HKEY_CLASSES_ROOT, serverKey, 0, KEY_QUERY_VALUE, key.Receive());
        if (opened != ERROR_SUCCESS)
            return opened == ERROR_FILE_NOT_FOUND ? kServerIsOther : kServerUnreadable;
        read = RegQueryValueExA(key.get(), NULL, NULL, &type, reinterpret_cast<BYTE*>(server), &size);
    }
    if (read == ERROR_FILE_NOT_FOUND)
        return kServerIsOther;
    if (read != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return kServerUnreadable;
    server[size] = '\0';
    if (type == REG_EXPAND_SZ)
    {
        char expanded[kRegistryTextSize];
        DWORD length = ExpandEnvironmentStringsA(server, expanded, sizeof(expanded));
        if (length == 0 || length > sizeof(expanded))
            return kServerUnreadable;
        return lstrcmpiA(expanded, modulePath) == 0 ? kServerIsModule : kServerIsOther;
    }
    return lstrcmpiA(server, modulePath) == 0 ? kServerIsModule : kServerIsOther;
}

BOOL DeleteClassKey(HINSTANCE instance, REFCLSID classId)
{
    // Without the class id the key name would be "CLSID\\" and the delete
    // would take every class of the machine with it.
    char classText[kRegistryTextSize];
    char modulePath[kRegistryTextSize];
    if (!ClassIdToRegistryText(classId, classText) || !ReadModulePath(instance, modulePath))
        return FALSE;
    char keyName[kRegistryTextSize];
    wsprintfA(keyName, CLASS_KEY_FORMAT, classText);
    // The class may be registered for another copy of the module: that
    // registration is not ours to remove.
    ServerOwner owner = ReadServerOwner(keyName, modulePath);
    if (owner != kServerIsModule)
        return owner == kServerIsOther;
    LONG deleted = SHDeleteKeyA(HKEY_CLASSES_ROOT, keyName);
    return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
}

BOOL RegisterImplementedCategory(REFCLSID classId, REFGUID categoryId)
{
    HRESULT initResult = CoInitialize(NULL);
    ICatRegister* categories = NULL;
    HRESULT hr = CoCreateInstance(CLSID_StdComponentCategoriesMgr, NULL, CLSCTX_INPROC_SERVER,
                                  IID_ICatRegister, reinterpret_cast<void**>(&categories));
    if (SUCCEEDED(hr))
    {
        CATID category = categoryId;
        hr = categories->RegisterClassImplCategories(classId, 1, &category);
        categories->Release();
    }
    // A thread that already lives in another apartment keeps its own
    // initialisation: only a successful CoInitialize is balanced here.
    if (SUCCEEDED(initResult))
        CoUninitialize();
    return SUCCEEDED(hr);
}
