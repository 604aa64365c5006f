// Reading and cleaning the registry of the test prefix.
#pragma once

#include <windows.h>
#include <string>

#include "pager_class_id.h"

const char kPagerClassText[] = PAGER_CLASS_ID_TEXT;
const char kPagerClassKey[] = "CLSID\\" PAGER_CLASS_ID_TEXT;
const char kPagerPluginKey[] = PAGER_PLUGIN_KEY;
const char kBarPluginCategoryText[] = "{49E86696-EAA6-45A2-9480-C78C013B9713}";


bool KeyExists(HKEY root, const std::string& key);

// A value as stored: its type and raw bytes; false when the value is missing.
bool ReadValue(HKEY root, const std::string& key, const char* valueName, DWORD* type, std::string* bytes);

// Every subkey and value below `key`, one line each, in a stable order.
std::string DumpKey(HKEY root, const std::string& key);

// Removes what registering the pager writes: its class key and its plug-in key.
void RemovePagerRegistration();
