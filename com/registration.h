// Self-registration: the class's registry entries and its plug-in category.
#pragma once

#include <windows.h>

// The class's name in the registry and in the bar's list of plug-ins.
extern const char kPagerDescription[];

const int kRegistryTextSize = 260;

// One registry entry. The key-name format holds one %s for the class id text;
// a null value name stands for the key's default value, a null value text for
// a row that only creates the key. A null root key ends a table.
struct RegistrationRow
{
    HKEY rootKey;
    const char* keyNameFormat;
    const char* valueName;
    const char* valueText;
};

// The class id in registry form (PAGER_CLASS_ID in CMakeLists.txt, upper-case digits) as ANSI
// text. FALSE when it cannot be made (the task allocator is out of memory);
// the buffer then holds the empty string.
BOOL ClassIdToRegistryText(REFCLSID classId, char text[kRegistryTextSize]);

// The module's full path. FALSE, with the empty string, when it does not fit.
BOOL ReadModulePath(HINSTANCE instance, char path[kRegistryTextSize]);

// Writes the class's rows. A row that cannot be written is skipped and makes
// the result FALSE. FALSE with nothing written when the class id has no text
// or the module path does not fit.
BOOL WriteRegistrationRows(HINSTANCE instance, REFCLSID classId, const char* description);

// Deletes the class's key under HKEY_CLASSES_ROOT with everything beneath it
// when its InprocServer32 names this module (a REG_EXPAND_SZ value once
// expanded); TRUE also when there is nothing of this module's to delete.
// FALSE when the class id has no text, the module path does not fit, the
// server's value cannot be read or the delete fails.
BOOL DeleteClassKey(HINSTANCE instance, REFCLSID classId);

// Records through the component categories manager that the class implements
// the category.
BOOL RegisterImplementedCategory(REFCLSID classId, REFGUID categoryId);
