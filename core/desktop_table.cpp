#include "core/desktop_table.h"

#include <string.h>

#include "core/parked_mark.h"
#include "core/switch_activation.h"
#include "core/watcher_launch.h"
#include "core/window_filter.h"
#include "win/handle32.h"
#include "win/sent_message_wait.h"
#include "win/window_shower.h"

CDesktopTable g_desktopTable;

namespace {

typedef CBoundedList<uint32_t, kMaxDesktops * kMaxWindowsPerDesktop> TableBatch;
typedef CBoundedSpan<uint32_t> WindowBatch;

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
void ShowBatch(const WindowBatch& batch, CWindowShower& shower)
{
    for (int i = 0; i < batch.Count(); ++i)
        ShowParked(WordToHandle(batch[i]), shower);
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
HWND ChooseActive(const WindowBatch& batch, uint32_t remembered)
{
    if (remembered && batch.Contains(remembered) && IsWindow(WordToHandle(remembered)))
        return WordToHandle(remembered);
    for (int i = batch.Count() - 1; i >= 0; --i)
    {
        if (CanBeActivated(WordToHandle(batch[i])))
            return WordToHandle(batch[i]);
    }
    return NULL;
}

// The target desktop's windows, from the last recorded to the first. A
// hidden window keeps its place in the z-order, so only the window to
// activate, shown last, is activated: the others are shown without
// activation, which spares every application an activation and a
// deactivation. An owned window stays above its owner either way.
void ShowTarget(const WindowBatch& batch, uint32_t remembered, CWindowShower& shower)
{
    HWND active = ChooseActive(batch, remembered);
    for (int i = 0; i < batch.Count(); ++i)
    {
        HWND window = WordToHandle(batch[i]);
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

void ShowBatch(const WindowBatch& batch, ShowWait wait = kWaitForAnsweringOwners)
{
    CWindowShower shower(wait);
    ShowBatch(batch, shower);
}

}  // namespace

CDesktopTable::CDesktopTable()
{
    currentIndex = 0;
    desktopCount = 0;
    ClearLists();
    switchThread = 0;
    switchEnded = CreateEventA(NULL, TRUE, TRUE, NULL);
    generation = 0;
    userForeground = 0;
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
    for (int i = 0; i < hidden.Count(); ++i)
    {
        if (!IsRemembered(hidden[i]))
            forgotten.Add(hidden[i]);
    }
}

void CDesktopTable::ShowParkedWindows(ShowWait wait)
{
    TableBatch parked;
    {
        CLockScope guard(lock);
        CollectParked(parked);
    }
    ShowBatch(parked, wait);
}

bool CDesktopTable::Reset(int count, const DesktopLists* lists)
{
    // Windows hidden on other desktops would otherwise stay hidden for good.
    TableBatch parked;
    {
        CLockScope guard(lock);
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

void CDesktopTable::Replace(const DesktopLists& lists)
{
    CLockScope guard(lock);
    ClearLists();
    currentIndex = lists.currentIndex;
    for (int d = 0; d < kMaxDesktops; ++d)
    {
        windowCounts[d] = lists.windowCounts[d];
        memcpy(entries[d], lists.entries[d], windowCounts[d] * sizeof(DesktopEntry));
    }
    ++generation;
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
        CLockScope guard(lock);
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
    CLockScope guard(lock);
    *count = desktopCount;
    lists->currentIndex = currentIndex;
    for (int d = 0; d < kMaxDesktops; ++d)
    {
        lists->windowCounts[d] = windowCounts[d];
        memcpy(lists->entries[d], entries[d], windowCounts[d] * sizeof(DesktopEntry));
    }
}

void CDesktopTable::CopyList(int desktop, DesktopWindows* windows) const
{
    windows->Clear();
    if (desktop < 0 || desktop >= kMaxDesktops)
        return;
    CLockScope guard(lock);
    for (int k = 0; k < windowCounts[desktop]; ++k)
        windows->Add(entries[desktop][k].window);
}

bool CDesktopTable::HasWindows(int desktop) const
{
    return desktop >= 0 && desktop < kMaxDesktops && *static_cast<const volatile int*>(&windowCounts[desktop]) != 0;
}

bool CDesktopTable::RestoreAll()
{
    TableBatch all;
    {
        CLockScope guard(lock);
        for (int d = 0; d < kMaxDesktops; ++d)
            CollectList(d, all);
        currentIndex = 0;
        ClearLists();
        ++generation;
    }
    ShowBatch(all);
    return true;
}

namespace {

struct SwitchEnumeration
{
    const CWindowFilter* filter;
    WindowBatch* windows;
};

BOOL CALLBACK CollectSwitchWindow(HWND window, LPARAM param)
{
    SwitchEnumeration& enumeration = *reinterpret_cast<SwitchEnumeration*>(param);
    // A full list leaves the surplus unrecorded: those windows stay visible everywhere.
    if (enumeration.filter->Takes(window))
        enumeration.windows->Add(HandleToWord(window));
    return TRUE;
}

// The current desktop's windows in z-order, top first.
void CollectSwitchWindows(const CWindowFilter& filter, WindowBatch& windows)
{
    SwitchEnumeration enumeration = {&filter, &windows};
    EnumWindows(CollectSwitchWindow, reinterpret_cast<LPARAM>(&enumeration));
}

void MarkBatchParked(const WindowBatch& windows)
{
    for (int i = 0; i < windows.Count(); ++i)
        MarkParked(WordToHandle(windows[i]));
}

bool IsOwnedBy(HWND window, HWND owner)
{
    for (HWND up = GetWindow(window, GW_OWNER); up; up = GetWindow(up, GW_OWNER))
    {
        if (up == owner)
            return true;
    }
    return false;
}

// `window` and the windows it owns that a switch would take, in z-order: a
// dialog goes where its owner goes. Empty when a switch would not take
// `window`. An owned window always lies above its owner, so only the
// windows above it are looked at.
void CollectGroup(const CWindowFilter& filter, HWND window, WindowBatch& group)
{
    if (!filter.Takes(window))
        return;
    for (HWND above = GetTopWindow(NULL); above && above != window; above = GetWindow(above, GW_HWNDNEXT))
    {
        // The ownership first: the filter asks the system far more.
        if (IsOwnedBy(above, window) && filter.Takes(above))
            group.Add(HandleToWord(above));
    }
    group.Add(HandleToWord(window));
}

// The first window in z-order that a switch would take and that can take
// the foreground when `group` leaves; only as many windows are asked as it
// takes to find it.
HWND NextActive(const CWindowFilter& filter, const WindowBatch& group)
{
    for (HWND window = GetTopWindow(NULL); window; window = GetWindow(window, GW_HWNDNEXT))
    {
        if (!group.Contains(HandleToWord(window)) && filter.Takes(window) && CanBeActivated(window))
            return window;
    }
    return NULL;
}

// Brings a carried window in front and gives it the foreground. Queued to a
// window of another thread, as the switch's requests are: its owner may be hung.
void BringToFront(HWND window)
{
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_ASYNCWINDOWPOS);
    if (GetForegroundWindow() != window)
        SetForegroundWindow(window);
}

}  // namespace

// Waits for a switch of another thread to end, answering the messages it
// sends here meanwhile. False for a switch already running on this thread.
bool CDesktopTable::EnterSwitch()
{
    for (;;)
    {
        {
            CLockScope guard(lock);
            if (!switchEnded)
                return false;
            if (switchThread == 0)
            {
                switchThread = GetCurrentThreadId();
                ResetEvent(switchEnded);
                return true;
            }
            if (switchThread == GetCurrentThreadId())
                return false;
        }
        WaitAnsweringSentMessages(switchEnded);
    }
}

// Under the lock.
void CDesktopTable::LeaveSwitch()
{
    switchThread = 0;
    SetEvent(switchEnded);
}

void CDesktopTable::NoteForeground()
{
    InterlockedExchange(&userForeground, static_cast<LONG>(HandleToWord(GetForegroundWindow())));
}

// Under the lock: `windows` become the current desktop's list, and `active`
// the window active there if it is among them.
void CDesktopTable::RecordDesktop(const WindowBatch& windows, uint32_t active)
{
    windowCounts[currentIndex] = 0;
    activeWindow[currentIndex] = windows.Contains(active) ? active : 0;
    for (int i = 0; i < windows.Count(); ++i)
    {
        DesktopEntry entry = {windows[i], 0, 0};
        entries[currentIndex][windowCounts[currentIndex]++] = entry;
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
        if (!refused.Contains(entries[desktop][k].window))
            entries[desktop][kept++] = entries[desktop][k];
        else if (activeWindow[desktop] == entries[desktop][k].window)
            activeWindow[desktop] = 0;
    }
    count = kept;
}

bool CDesktopTable::SwitchTo(int index, HWND barTop)
{
    return Switch(index, barTop, NULL);
}

bool CDesktopTable::SendWindow(HWND window, int index, HWND barTop, bool carry)
{
    if (!window)
        return false;
    return carry ? Switch(index, barTop, window) : Send(window, index, barTop);
}

// A switch; with `carried`, that window and the windows it owns stay on
// screen and come out in front.
bool CDesktopTable::Switch(int index, HWND barTop, HWND carried)
{
    if (index < 0 || index >= kMaxDesktops)
        return false;
    if (!EnterSwitch())
        return false;
    // Requests of an earlier switch still queued to this thread are carried
    // out first: a window of ours still waiting to be hidden is not recorded
    // here as on screen.
    CarryOutRequestsOwedHere();

    DesktopWindows hidden;
    DesktopWindows shown;
    DesktopWindows refused;
    LONG startGeneration = 0;
    int left = 0;
    uint32_t remembered = 0;
    bool moving = index != Current();
    if (moving)
    {
        // The bar may have taken the foreground with the click.
        HWND foreground = GetForegroundWindow();
        uint32_t active = !foreground || foreground == barTop ? static_cast<uint32_t>(userForeground)
                                                              : HandleToWord(foreground);
        if (active == HandleToWord(barTop))
            active = 0;
        // It loads a library and looks the shell's windows up.
        CWindowFilter filter(kSwitchList, barTop);
        CollectSwitchWindows(filter, hidden);
        if (carried)
        {
            DesktopWindows group;
            CollectGroup(filter, carried, group);
            for (int i = hidden.Count() - 1; i >= 0; --i)
            {
                if (group.Contains(hidden[i]))
                    hidden.RemoveAt(i);
            }
            if (group.Count() == 0)
            {
                hidden.Clear();
                index = Current();  // not a window a switch moves: nothing to do
            }
        }
        MarkBatchParked(hidden);
        CLockScope guard(lock);
        // Only this switch moves the current desktop, but a count change may
        // have put it back on desktop 1 meanwhile.
        moving = index != currentIndex;
        if (moving)
        {
            left = currentIndex;
            RecordDesktop(hidden, active);
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
        MoveActivationOff(hidden.Items(), hidden.Count(), barTop, shower);
        // Bottom-most first: no window is uncovered, and repainted, only to
        // be hidden next. A window still active (nobody took the foreground)
        // goes last wherever it lies, as under a top-most window: hidden
        // before the others, it would pass the activation on to one of them.
        HWND active = GetForegroundWindow();
        bool activeHidden = false;
        for (int i = hidden.Count() - 1; i >= 0; --i)
        {
            HWND window = WordToHandle(hidden[i]);
            if (window == active)
                activeHidden = true;
            else if (!shower.Apply(window, SW_HIDE))
                refused.Add(hidden[i]);
        }
        if (activeHidden && !shower.Apply(active, SW_HIDE))
            refused.Add(HandleToWord(active));
        if (carried)
        {
            // The target's windows come back behind the carried one.
            for (int i = 0; i < shown.Count(); ++i)
                ShowParked(WordToHandle(shown[i]), shower, SW_SHOWNA);
            shower.Finish();
            BringToFront(carried);
        }
        else
            ShowTarget(shown, remembered, shower);
    }
    else
    {
        // Recorded and marked for a switch that did not happen.
        for (int i = 0; i < hidden.Count(); ++i)
            ClearParked(WordToHandle(hidden[i]));
        hidden.Clear();
    }

    // Nothing was hidden when nothing moved.
    EndMove(hidden, refused, startGeneration, left);
    return true;
}

// Under the lock: `windows` go first on `desktop`'s list, in their order,
// each once. False, changing nothing, when the list has no room for them.
bool CDesktopTable::PutFirst(int desktop, const WindowBatch& windows)
{
    DesktopWindows kept;
    for (int k = 0; k < windowCounts[desktop]; ++k)
    {
        if (!windows.Contains(entries[desktop][k].window))
            kept.Add(entries[desktop][k].window);
    }
    if (kept.Count() + windows.Count() > kMaxWindowsPerDesktop)
        return false;
    int count = 0;
    for (int i = 0; i < windows.Count(); ++i)
        entries[desktop][count++] = {windows[i], 0, 0};
    for (int i = 0; i < kept.Count(); ++i)
        entries[desktop][count++] = {kept[i], 0, 0};
    windowCounts[desktop] = count;
    return true;
}

// The end of a switch or a send: refused windows leave the list they were
// put on, windows that a change of the lists meanwhile forgot come back, and
// the next switch may start.
void CDesktopTable::EndMove(const WindowBatch& moved, const WindowBatch& refused, LONG startGeneration,
                                int desktop)
{
    DesktopWindows forgotten;
    {
        CLockScope guard(lock);
        if (generation != startGeneration)
            CollectForgotten(moved, forgotten);
        else if (refused.Count() > 0)
            ForgetRefused(desktop, refused);
        LeaveSwitch();
    }
    for (int i = 0; i < refused.Count(); ++i)
        ClearParked(WordToHandle(refused[i]));
    if (moved.Count() > refused.Count())
        StartHostWatcher();
    ShowBatch(forgotten);
}

bool CDesktopTable::Send(HWND window, int index, HWND barTop)
{
    if (index < 0 || index >= kMaxDesktops)
        return false;
    if (!EnterSwitch())
        return false;
    CarryOutRequestsOwedHere();

    // Only the group and the window the foreground goes to are looked at.
    CWindowFilter filter(kSwitchList, barTop);
    DesktopWindows group;
    DesktopWindows refused;
    CollectGroup(filter, window, group);
    LONG startGeneration = 0;
    bool moving = group.Count() > 0;
    if (moving)
    {
        // The window of the group that had the foreground (its dialog, say) gets it back there.
        uint32_t active = HandleToWord(GetForegroundWindow());
        MarkBatchParked(group);
        CLockScope guard(lock);
        moving = index != currentIndex && index < desktopCount && PutFirst(index, group);
        if (moving)
            activeWindow[index] = group.Contains(active) ? active : HandleToWord(window);
        startGeneration = generation;
    }
    if (!moving)
    {
        for (int i = 0; i < group.Count(); ++i)
            ClearParked(WordToHandle(group[i]));
        CLockScope guard(lock);
        LeaveSwitch();
        return false;
    }

    // The foreground goes on first, so that the hides pass it to no window
    // of the group.
    HWND heir = NextActive(filter, group);
    if (heir)
        SetForegroundWindow(heir);
    CWindowShower shower;
    if (!heir)
        MoveActivationOff(group.Items(), group.Count(), barTop, shower);
    for (int i = group.Count() - 1; i >= 0; --i)
    {
        if (!shower.Apply(WordToHandle(group[i]), SW_HIDE))
            refused.Add(group[i]);
    }
    shower.Finish();
    EndMove(group, refused, startGeneration, index);
    return true;
}
