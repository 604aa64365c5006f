// The module's own facts, which every floor may need: its instance handle
// (for its resources, window classes and path) and the count of its live
// objects (class factories and pagers), which keeps it loaded.
#pragma once

#include <windows.h>

// Null in a program that links the code without loading the DLL, until it
// sets one.
HINSTANCE ModuleInstance();
// Set once, at process attach; test programs that link the code set their own.
void SetModuleInstance(HINSTANCE instance);

LONG LiveObjectCount();

// A live object of the module, counted for as long as this member lives.
class CModuleReference
{
public:
    CModuleReference();
    ~CModuleReference();
    CModuleReference(const CModuleReference&) = delete;
    CModuleReference& operator=(const CModuleReference&) = delete;
};
