// The desktop table's lists as a whole, read and put in place through the
// table's own operations: a snapshot when made, the table's lists after Put.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "core/desktop_table.h"
#include "win/handle32.h"

class CTableLists
{
public:
    CTableLists() : lists(new DesktopLists()), count(0) { g_desktopTable.Snapshot(lists.get(), &count); }

    int Count() const { return count; }
    int Current() const { return lists->currentIndex; }
    int Windows(int desktop) const { return lists->windowCounts[desktop]; }
    HWND Window(int desktop, int position) const { return WordToHandle(lists->entries[desktop][position].window); }
    DesktopEntry& Entry(int desktop, int position) { return lists->entries[desktop][position]; }

    void SetCurrent(int desktop) { lists->currentIndex = desktop; }
    void SetWindowCount(int desktop, int windows) { lists->windowCounts[desktop] = windows; }
    void SetList(int desktop, const std::vector<HWND>& windows)
    {
        lists->windowCounts[desktop] = static_cast<int32_t>(windows.size());
        for (size_t k = 0; k < windows.size(); ++k)
            lists->entries[desktop][k] = {HandleToWord(windows[k]), 0, 0};
    }
    void Forget()
    {
        for (int d = 0; d < kMaxDesktops; ++d)
            lists->windowCounts[d] = 0;
    }
    void Put() const { g_desktopTable.Replace(*lists); }

private:
    std::unique_ptr<DesktopLists> lists;
    int32_t count;
};
