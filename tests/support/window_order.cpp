#include "support/window_order.h"

#include <algorithm>

namespace {

struct Collect
{
    const std::vector<HWND>* among;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param)
{
    Collect* collect = reinterpret_cast<Collect*>(param);
    const std::vector<HWND>& among = *collect->among;
    if (std::find(among.begin(), among.end(), window) != among.end())
        collect->windows.push_back(window);
    return TRUE;
}

}  // namespace

std::string Title(HWND window)
{
    char title[256];
    GetWindowTextA(window, title, sizeof(title));
    return title;
}

std::vector<HWND> WindowsInEnumOrder(const std::vector<HWND>& among)
{
    Collect collect = {&among, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&collect));
    return collect.windows;
}

std::vector<std::string> TitlesInEnumOrder(const std::vector<HWND>& among)
{
    std::vector<std::string> titles;
    for (HWND window : WindowsInEnumOrder(among))
        titles.push_back(Title(window));
    return titles;
}

std::vector<std::string> Prefixed(const char* prefix, const std::vector<std::string>& titles)
{
    std::vector<std::string> result;
    for (const std::string& title : titles)
        result.push_back(std::string(prefix) + " " + title);
    return result;
}

std::vector<std::string> Reversed(std::vector<std::string> titles)
{
    std::reverse(titles.begin(), titles.end());
    return titles;
}
