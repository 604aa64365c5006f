// Top-level windows in the order EnumWindows yields them, limited to a given set.
#pragma once

#include <windows.h>
#include <string>
#include <vector>

std::vector<std::string> TitlesInEnumOrder(const std::vector<HWND>& among);
std::string Title(HWND window);

// "hide <title>" / "show <title>" for each title, in order.
std::vector<std::string> Prefixed(const char* prefix, const std::vector<std::string>& titles);
std::vector<std::string> Reversed(std::vector<std::string> titles);
