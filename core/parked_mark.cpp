#include "core/parked_mark.h"

const char kParkedProperty[] = "VirtualDesktopParked";

void MarkParked(HWND window)
{
    SetPropA(window, kParkedProperty, reinterpret_cast<HANDLE>(1));
}

void ClearParked(HWND window)
{
    RemovePropA(window, kParkedProperty);
}

bool IsParked(HWND window)
{
    return GetPropA(window, kParkedProperty) != NULL;
}
