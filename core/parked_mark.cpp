#include "core/parked_mark.h"

const char kParkedProperty[] = "VirtualDesktopParked";

void MarkParked(HWND window)
{
    SetPropA(window, kParkedProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(GetCurrentProcessId())));
}

void ClearParked(HWND window)
{
    RemovePropA(window, kParkedProperty);
}

void ShowParked(HWND window, CWindowShower& shower, int command)
{
    shower.Apply(window, command);
    ClearParked(window);
}

bool IsParked(HWND window)
{
    return GetPropA(window, kParkedProperty) != NULL;
}

bool IsParkedBy(HWND window, DWORD processId)
{
    return processId != 0 && reinterpret_cast<UINT_PTR>(GetPropA(window, kParkedProperty)) == processId;
}
