#include "core/pinned_mark.h"

const char kPinnedProperty[] = "VirtualDesktopPinned";

bool IsPinned(HWND window)
{
    return GetPropA(window, kPinnedProperty) != NULL;
}

void SetPinned(HWND window, bool pinned)
{
    if (pinned)
        SetPropA(window, kPinnedProperty, reinterpret_cast<HANDLE>(1));
    else
        RemovePropA(window, kPinnedProperty);
}
