// The 60-byte settings record, persisted byte for byte in the state stream.
#pragma once

#include <windows.h>
#include <stddef.h>
#include <stdint.h>

const int kFaceNameSize = 32;

struct PagerSettings
{
    int32_t reserved;
    int32_t columns;
    int32_t desktopCount;
    COLORREF currentColor;
    COLORREF occupiedColor;
    COLORREF emptyColor;
    COLORREF hoverColor;
    char faceName[kFaceNameSize];
};
static_assert(sizeof(PagerSettings) == 60, "PagerSettings is a 60-byte record");
static_assert(offsetof(PagerSettings, reserved) == 0, "PagerSettings layout");
static_assert(offsetof(PagerSettings, columns) == 4, "PagerSettings layout");
static_assert(offsetof(PagerSettings, desktopCount) == 8, "PagerSettings layout");
static_assert(offsetof(PagerSettings, currentColor) == 12, "PagerSettings layout");
static_assert(offsetof(PagerSettings, occupiedColor) == 16, "PagerSettings layout");
static_assert(offsetof(PagerSettings, emptyColor) == 20, "PagerSettings layout");
static_assert(offsetof(PagerSettings, hoverColor) == 24, "PagerSettings layout");
static_assert(offsetof(PagerSettings, faceName) == 28, "PagerSettings layout");

const COLORREF kDefaultCurrentColor = 0x00FFFF00;
const COLORREF kDefaultOccupiedColor = 0x00808080;
const COLORREF kDefaultEmptyColor = 0x00D3D3D3;
const COLORREF kDefaultHoverColor = 0x00FFFFFF;
