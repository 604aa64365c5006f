#include "core/desktop_table.h"

#include <string.h>

#include "core/parked_mark.h"
#include "core/switch_activation.h"
#include "core/table_lock.h"
#include "core/watcher_launch.h"
#include "core/window_filter.h"
#include "win/handle32.h"
#include "win/sent_message_wait.h"
#include "win/window_shower.h"

CDesktopTable g_desktopTable;

struct CDesktopTable::WindowBatch
{
    uint32_t* windows;
    int capacity;
    int count;

    void Add(uint32_t window)
    {
        if (count < capacity)
            windows[count++] = window;
    }
};

namespace {

template <int kCapacity>
struct WindowStore : CDesktopTable::WindowBatch
{
    uint32_t store[kCapacity];
    WindowStore()
    {
        windows = store;
        capacity = kCapacity;
        count = 0;
    }
};

typedef WindowStore<kMaxWindowsPerDesktop> DesktopBatch;
typedef WindowStore<kMaxDesktops * kMaxWindowsPerDesktop> TableBatch;

// A loaded state's windows that are hidden on the desktops not shown are
// this host's to bring back now: an earlier host that left them so may have
// died with its watcher. True when there is any.
bool MarkLoadedWindows(const DesktopLists& lists)
{
    bool any = false;
    for (int d = 0; d < kMaxDesktops; ++d)
    {
        for (int k = 0; d != lists.currentIndex && k < lists.windowCounts[d]; ++k)
        {
            HWND window = WordToHandle(lists.entries[d][k].window);
            if (IsWindow(window) && !IsWindowVisible(window))
            {
                MarkParked(window);
                any = true;
            }
        }
    }
    return any;
}

// Shows a batch in its order; a window shown is no longer parked.
void ShowBatch(const CDesktopTable::WindowBatch& batch, CWindowShower& shower)
{
    for (int i = 0; i < batch.count; ++i)
        ShowParked(WordToHandle(batch.windows[i]), shower);
}

// A window that the user could have left active: enabled, and neither a
// tool window nor one that takes no activation (a note, an overlay).
bool CanBeActivated(HWND window)
{
    LONG exStyle = GetWindowLongA(window, GWL_EXSTYLE);
    return IsWindow(window) && IsWindowEnabled(window) && !(exStyle & (WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW));
}

// The window to activate among a desktop's windows (last recorded first):
// the one active when the desktop was left, else the first recorded that
// can be activated, else none.
HWND ChooseActive(const CDesktopTable::WindowBatch& batch, uint32_t remembered)
{
    for (int i = 0; remembered && i < batch.count; ++i)
    {
        if (batch.windows[i] == remembered && IsWindow(WordToHandle(remembered)))
            return WordToHandle(remembered);
    }
    for (int i = batch.count - 1; i >= 0; --i)
    {
        if (CanBeActivated(WordToHandle(batch.windows[i])))
            return WordToHandle(batch.windows[i]);
    }
    return NULL;
}

// The target desktop's windows, from the last recorded to the first. A
// hidden window keeps its place in the z-order, so only the window to
// activate, shown last, is activated: the others are shown without
// activation, which spares every application an activation and a
// deactivation. An owned window stays above its owner either way.
void ShowTarget(const CDesktopTable::WindowBatch& batch, uint32_t remembered, CWindowShower& shower)
{
    HWND active = ChooseActive(batch, remembered);
    for (int i = 0; i < batch.count; ++i)
    {
        HWND window = WordToHandle(batch.windows[i]);
        if (window != active)
            ShowParked(window, shower, SW_SHOWNA);
    }
    if (active)
        ShowParked(active, shower);
    shower.Finish();
    // Another thread's window was activated by its owner, which may not take
    // the foreground on its own; the bar's thread, clicked just now, may.
    if (active && IsWindowVisible(active) && GetForegroundWindow() != active)
        SetForegroundWindow(active);
}

void ShowBatch(const CDesktopTable::WindowBatch& batch, ShowWait wait = kWaitForAnsweringOwners)
{
    CWindowShower shower(wait);
    ShowBatch(batch, shower);
}

}  // namespace

CDesktopTable::CDesktopTable()
{
    currentIndex = 0;
    ClearLists();
    // desktopCount and barTopWindow keep their static zero.
    switchThread = 0;
    switchEnded = NULL;
    generation = 0;
}

CDesktopTable::~CDesktopTable()
{
    // Shows nothing: by the time the module unloads every pager has restored its windows.
    if (switchEnded)
        CloseHandle(switchEnded);
}

void CDesktopTable::ClearLists()
{
    memset(windowCounts, 0, sizeof(windowCounts));
    memset(entries, 0, sizeof(entries));
    memset(activeWindow, 0, sizeof(activeWindow));
}

// From the last recorded to the first.
void CDesktopTable::CollectList(int desktop, WindowBatch& batch) const
{
    for (int k = windowCounts[desktop] - 1; k >= 0; --k)
        batch.Add(entries[desktop][k].window);
}

void CDesktopTable::CollectParked(WindowBatch& batch) const
{
    for (int d = 0; d < kMaxDesktops; ++d)
    {
        if (d != currentIndex)
            CollectList(d, batch);
    }
}

bool CDesktopTable::IsRemembered(uint32_t window) const
{
    for (int d = 0; d < kMaxDesktops; ++d)
    {
        for (int k = 0; d != currentIndex && k < windowCounts[d]; ++k)
        {
            if (entries[d][k].window == window)
                return true;
        }
    }
    return false;
}

void CDesktopTable::CollectForgotten(const WindowBatch& hidden, WindowBatch& forgotten) const
{
    for (int i = 0; i < hidden.count; ++i)
    {
        if (!IsRemembered(hidden.windows[i]))
            forgotten.Add(hidden.windows[i]);
    }
}

void CDesktopTable::ShowParkedWindows(ShowWait wait)
{
    TableBatch parked;
    {
        CTableLock guard;
        CollectParked(parked);
    }
    ShowBatch(parked, wait);
}

bool CDesktopTable::Reset(int count, const DesktopLists* lists)
{
    // Windows hidden on other desktops would otherwise stay hidden for good.
    TableBatch parked;
    {
        CTableLock guard;
        CollectParked(parked);
        currentIndex = 0;
        if (count > kMaxDesktops)
            count = kMaxDesktops;
        desktopCount = count;
        ClearLists();
        if (lists)
        {
            currentIndex = lists->currentIndex;
            for (int d = 0; d < kMaxDesktops; ++d)
            {
                windowCounts[d] = lists->windowCounts[d];
                memcpy(entries[d], lists->entries[d], windowCounts[d] * sizeof(DesktopEntry));
            }
        }
        ++generation;
    }
    ShowBatch(parked);
    if (lists && MarkLoadedWindows(*lists))
        StartHostWatcher();
    return true;
}

bool CDesktopTable::ChangeCount(int count)
{
    // Callers never ask for fewer than one desktop; keep a damaged value from emptying the grid.
    if (count < 1)
        count = 1;
    if (count > kMaxDesktops)
        count = kMaxDesktops;
    TableBatch dropped;
    {
        CTableLock guard;
        // Shrinking: the windows of the desktops that drop away come back.
        // A current desktop among them (another bar's switch may have moved
        // there since the caller looked) hands over to desktop 1, whose
        // windows come back too: they all share the screen from now on.
        // The current desktop's own list is not collected: its windows are
        // on screen, and the list is only recorded anew when it is left.
        int shownDesktop = currentIndex;
        if (currentIndex >= count)
        {
            CollectList(0, dropped);
            windowCounts[0] = 0;
            currentIndex = 0;
        }
        for (int j = count; j < kMaxDesktops; ++j)
        {
            if (j != shownDesktop)
                CollectList(j, dropped);
            windowCounts[j] = 0;
        }
        desktopCount = count;
        ++generation;
    }
    ShowBatch(dropped);
    return true;
}

void CDesktopTable::Snapshot(DesktopLists* lists, int32_t* count) const
{
    CTableLock guard;
    *count = desktopCount;
    lists->currentIndex = currentIndex;
    for (int d = 0; d < kMaxDesktops; ++d)
    {
        lists->windowCounts[d] = windowCounts[d];
        memcpy(lists->entries[d], entries[d], windowCounts[d] * sizeof(DesktopEntry));
    }
}

bool CDesktopTable::RestoreAll()
{
    TableBatch all;
    {
        CTableLock guard;
        for (int d = 0; d < kMaxDesktops; ++d)
            CollectList(d, all);
        currentIndex = 0;
        ClearLists();
        ++generation;
    }
    ShowBatch(all);
    return true;
}

BOOL CALLBACK CDesktopTable::CollectSwitchWindow(HWND window, LPARAM param)
{
    CDesktopTable& table = g_desktopTable;
    if (!reinterpret_cast<const CWindowFilter*>(param)->Takes(window))
        return TRUE;

    int& count = table.windowCounts[table.currentIndex];
    // A full list leaves the surplus unrecorded: those windows stay visible everywhere.
    if (count >= kMaxWindowsPerDesktop)
        return TRUE;
    // Every window recorded here is hidden next.
    MarkParked(window);
    table.entries[table.currentIndex][count].window = HandleToWord(window);
    ++count;
    return TRUE;
}

// Waits for a switch of another thread to end, answering the messages it
// sends here meanwhile. False for a switch already running on this thread.
bool CDesktopTable::EnterSwitch()
{
    for (;;)
    {
        HANDLE ended;
        {
            CTableLock guard;
            if (!switchEnded)
                switchEnded = CreateEventA(NULL, TRUE, TRUE, NULL);
            if (switchThread == 0)
            {
                switchThread = GetCurrentThreadId();
                ResetEvent(switchEnded);
                return true;
            }
            if (switchThread == GetCurrentThreadId() || !switchEnded)
                return false;
            ended = switchEnded;
        }
        WaitAnsweringSentMessages(ended);
    }
}

void CDesktopTable::NoteForeground()
{
    InterlockedExchange(&userForeground, static_cast<LONG>(HandleToWord(GetForegroundWindow())));
}

// Under the lock: records the current desktop's windows into its list and
// `hidden`, and the window active there.
void CDesktopTable::RecordDesktop(const CWindowFilter& filter, HWND barTop, WindowBatch& hidden)
{
    HWND foreground = GetForegroundWindow();
    uint32_t active = HandleToWord(foreground);
    if (!foreground || foreground == barTop)
        active = static_cast<uint32_t>(userForeground);
    if (active == HandleToWord(barTop))
        active = 0;
    barTopWindow = barTop;
    windowCounts[currentIndex] = 0;
    activeWindow[currentIndex] = 0;
    EnumWindows(CollectSwitchWindow, reinterpret_cast<LPARAM>(&filter));
    for (int i = 0; i < windowCounts[currentIndex]; ++i)
    {
        hidden.Add(entries[currentIndex][i].window);
        if (entries[currentIndex][i].window == active)
            activeWindow[currentIndex] = active;
    }
}

// Windows whose hide the system refused stay on screen: like windows of
// every desktop, they leave the list they were just put on, and their mark.
void CDesktopTable::ForgetRefused(int desktop, const WindowBatch& refused)
{
    int& count = windowCounts[desktop];
    int kept = 0;
    for (int k = 0; k < count; ++k)
    {
        bool drop = false;
        for (int i = 0; i < refused.count && !drop; ++i)
            drop = entries[desktop][k].window == refused.windows[i];
        if (!drop)
            entries[desktop][kept++] = entries[desktop][k];
        else if (activeWindow[desktop] == entries[desktop][k].window)
            activeWindow[desktop] = 0;
    }
    count = kept;
}

bool CDesktopTable::SwitchTo(int index, HWND barTop)
{
    if (index < 0 || index >= kMaxDesktops)
        return false;
    if (!EnterSwitch())
        return false;
    // Requests of an earlier switch still queued to this thread are carried
    // out first: a window of ours still waiting to be hidden is not recorded
    // here as on screen.
    CarryOutRequestsOwedHere();

    DesktopBatch hidden;
    DesktopBatch shown;
    DesktopBatch refused;
    LONG startGeneration = 0;
    int left = 0;
    uint32_t remembered = 0;
    bool moving;
    // Outside the lock: it loads a library and looks the shell's windows up.
    CWindowFilter filter(kSwitchList, barTop);
    {
        CTableLock guard;
        moving = index != currentIndex;
        if (moving)
        {
            left = currentIndex;
            RecordDesktop(filter, barTop, hidden);
            CollectList(index, shown);
            remembered = activeWindow[index];
            // The table is final from here on; only the windows are still to move.
            currentIndex = index;
            startGeneration = generation;
        }
    }
    if (moving)
    {
        CWindowShower shower;
        MoveActivationOff(hidden.windows, hidden.count, barTop, shower);
        // Bottom-most first: no window is uncovered, and repainted, only to
        // be hidden next. A window still active (nobody took the foreground)
        // goes last wherever it lies, as under a top-most window: hidden
        // before the others, it would pass the activation on to one of them.
        HWND active = GetForegroundWindow();
        bool activeHidden = false;
        for (int i = hidden.count - 1; i >= 0; --i)
        {
            HWND window = WordToHandle(hidden.windows[i]);
            if (window == active)
                activeHidden = true;
            else if (!shower.Apply(window, SW_HIDE))
                refused.Add(hidden.windows[i]);
        }
        if (activeHidden && !shower.Apply(active, SW_HIDE))
            refused.Add(HandleToWord(active));
        ShowTarget(shown, remembered, shower);
    }

    DesktopBatch forgotten;
    {
        CTableLock guard;
        if (moving && generation != startGeneration)
            CollectForgotten(hidden, forgotten);
        else if (refused.count > 0)
            ForgetRefused(left, refused);
        switchThread = 0;
        SetEvent(switchEnded);
    }
    for (int i = 0; i < refused.count; ++i)
        ClearParked(WordToHandle(refused.windows[i]));
    if (hidden.count > refused.count)
        StartHostWatcher();
    ShowBatch(forgotten);
    return true;
}
