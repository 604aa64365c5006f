#include "com/registration.h"

#include <objbase.h>
#include <comcat.h>
#include <shlwapi.h>

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

static void WriteRow(const RegistrationRow& row, const char* classText)
{
    char keyName[kRegistryTextSize];
    wsprintfA(keyName, row.keyNameFormat, classText);
    HKEY key = NULL;
    if (RegCreateKeyExA(row.rootKey, keyName, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_WRITE, NULL, &key,
                        NULL) != ERROR_SUCCESS)
        return;
    if (row.valueText)
        RegSetValueExA(key, row.valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(row.valueText),
                       lstrlenA(row.valueText) + 1);
    RegCloseKey(key);
}

BOOL WriteRegistrationRows(HINSTANCE instance, REFCLSID classId, const char* description)
{
    // Without the class id every key name would collapse onto "CLSID\" itself.
    char classText[kRegistryTextSize];
    if (!ClassIdToRegistryText(classId, classText))
        return FALSE;

    char modulePath[kRegistryTextSize];
    DWORD pathLength = GetModuleFileNameA(instance, modulePath, kRegistryTextSize);
    if (pathLength >= static_cast<DWORD>(kRegistryTextSize))
        pathLength = kRegistryTextSize - 1;
    modulePath[pathLength] = '\0';

    const RegistrationRow rows[] = {
        {HKEY_CLASSES_ROOT, CLASS_KEY_FORMAT, NULL, description},
        {HKEY_CLASSES_ROOT, CLASS_KEY_FORMAT "\\InprocServer32", NULL, modulePath},
        {HKEY_CLASSES_ROOT, CLASS_KEY_FORMAT "\\InprocServer32", "ThreadingModel", "Apartment"},
        {HKEY_LOCAL_MACHINE, "Software\\Velmora\\Quorvane\\plugins\\%s", NULL, description},
        {HKEY_LOCAL_MACHINE, "Software\\Velmora\\Quorvane\\plugins\\%s\\Langs", NULL, NULL},
        {NULL, NULL, NULL, NULL},
    };
    for (const RegistrationRow* row = rows; row->rootKey; ++row)
        WriteRow(*row, classText);
    return TRUE;
}

BOOL DeleteClassKey(REFCLSID classId)
{
    // Without the class id the key name would be "CLSID\\" and the delete
    // would take every class of the machine with it.
    char classText[kRegistryTextSize];
    if (!ClassIdToRegistryText(classId, classText))
        return FALSE;
    char keyName[kRegistryTextSize];
    wsprintfA(keyName, CLASS_KEY_FORMAT, classText);
    SHDeleteKeyA(HKEY_CLASSES_ROOT, keyName);
    return TRUE;
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
