// Tooltip texts: the titles of a desktop's windows, one per line.
#include "core/window_lists.h"

#include <string.h>

#include "core/desktop_table.h"
#include "core/window_filter.h"
#include "win/handle32.h"
#include "win/window_title.h"

namespace {

// A tooltip line: a title contributes at most 99 bytes, so that one long title
// leaves room for the others.
const int kTitleSize = 100;
const char kEmptyText[] = "<empty>";

// Appends lines behind the text already in the buffer, keeping within its
// size: once a line does not fit, no further line is written.
class CTooltipText
{
public:
    CTooltipText(char* buffer, size_t bufferSize)
        : text(buffer), size(bufferSize), length(strlen(buffer)), full(false)
    {
    }

    // "* <title>", followed by a line break unless it is the list's last position.
    void AppendLine(const char* title, bool last)
    {
        size_t titleLength = strlen(title);
        size_t lineLength = 2 + titleLength + (last ? 0 : 1);
        if (full || length + lineLength + 1 > size)
        {
            full = true;
            return;
        }
        char* end = text + length;
        end[0] = '*';
        end[1] = ' ';
        memcpy(end + 2, title, titleLength);
        if (!last)
            end[2 + titleLength] = '\n';
        length += lineLength;
        text[length] = '\0';
    }

    // Once a line has not fitted, no title read afterwards can change the text.
    bool IsFull() const { return full; }

    void SetEmpty()
    {
        if (size < sizeof(kEmptyText))
            return;
        memcpy(text, kEmptyText, sizeof(kEmptyText));
        length = sizeof(kEmptyText) - 1;
    }

private:
    char* text;
    size_t size;
    size_t length;
    bool full;
};

}  // namespace

BOOL CALLBACK CollectLiveWindow(HWND window, LPARAM param)
{
    LiveWindowEnumeration& enumeration = *reinterpret_cast<LiveWindowEnumeration*>(param);
    // A full list leaves further windows out of the text.
    if (enumeration.filter->Takes(window))
        enumeration.windows->Add(window);
    return TRUE;
}

void ListLiveWindows(char* text, size_t size)
{
    LiveWindowList list;
    CWindowFilter filter(kLiveList, NULL);
    LiveWindowEnumeration enumeration = {&filter, &list};
    EnumWindows(CollectLiveWindow, reinterpret_cast<LPARAM>(&enumeration));

    CTooltipText tooltip(text, size);
    for (int i = 0; i < list.Count() && !tooltip.IsFull(); ++i)
    {
        char title[kTitleSize];
        title[0] = '\0';
        ReadWindowTitle(list[i], title, kTitleSize);
        if (title[0])
            tooltip.AppendLine(title, i == list.Count() - 1);
    }
    if (list.Count() == 0)
        tooltip.SetEmpty();
}

void ListStoredWindows(const CDesktopTable& table, int index, char* text, size_t size)
{
    // A copy: the titles are asked of the windows' owners, with no lock held.
    DesktopWindows list;
    table.CopyList(index, &list);
    int n = list.Count();

    CWindowFilter filter(kStoredList, NULL);
    CTooltipText tooltip(text, size);
    for (int i = 0; i < n && !tooltip.IsFull(); ++i)
    {
        HWND window = WordToHandle(list[i]);
        char title[kTitleSize];
        title[0] = '\0';
        ReadWindowTitle(window, title, kTitleSize);
        if (!title[0])
            continue;
        if (!filter.TakesStored(window))
            continue;
        tooltip.AppendLine(title, i == n - 1);
    }
    if (n == 0)
        tooltip.SetEmpty();
}

void WriteTooltipText(const CDesktopTable& table, UINT index, char* text, size_t size)
{
    if (!text || size == 0)
        return;
    text[0] = '\0';
    // The current desktop comes first, even when it lies beyond the count.
    if (index == static_cast<UINT>(table.Current()))
        ListLiveWindows(text, size);
    else if (index >= static_cast<UINT>(table.Count()) || index >= static_cast<UINT>(kMaxDesktops))
        return;
    else
        ListStoredWindows(table, static_cast<int>(index), text, size);
}
