// Top-level windows in the order EnumWindows yields them, limited to a given set.
#pragma once

#include <windows.h>
#include <string>
#include <vector>

// One snapshot of the z-order, top-most first: a walk by GW_HWNDNEXT meets a
// window twice when it is restacked in between.
std::vector<HWND> WindowsInEnumOrder(const std::vector<HWND>& among);
std::vector<std::string> TitlesInEnumOrder(const std::vector<HWND>& among);
std::string Title(HWND window);

// "hide <title>" / "show <title>" for each title, in order.
std::vector<std::string> Prefixed(const char* prefix, const std::vector<std::string>& titles);
std::vector<std::string> Reversed(std::vector<std::string> titles);
