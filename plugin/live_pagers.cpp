#include "plugin/live_pagers.h"

#include "win/bounded_list.h"
#include "win/critical_section.h"

namespace {

// A host runs a bar or a few per thread; a pager beyond the list is simply
// not repainted by others' switches, nor handed the keys.
const int kMaxLivePagers = 64;

typedef CBoundedList<LivePager, kMaxLivePagers> LivePagers;

CCriticalSection g_liveLock;
LivePagers g_live;

// A copy, taken under the lock, to act on after it is left.
void CopyLive(LivePagers& copy)
{
    CLockScope guard(g_liveLock);
    for (int i = 0; i < g_live.Count(); ++i)
        copy.Add(g_live[i]);
}

}  // namespace

void AddLivePager(CPagerPlugin* pager, HWND bar)
{
    LivePager entry;
    entry.pager = pager;
    entry.thread = GetCurrentThreadId();
    entry.bar = bar;
    CLockScope guard(g_liveLock);
    for (int i = 0; i < g_live.Count(); ++i)
    {
        if (g_live[i].pager == pager)
        {
            if (bar)
                g_live[i].bar = bar;
            return;
        }
    }
    g_live.Add(entry);
}

void RemoveLivePager(CPagerPlugin* pager)
{
    CLockScope guard(g_liveLock);
    for (int i = g_live.Count() - 1; i >= 0; --i)
    {
        if (g_live[i].pager == pager)
            g_live.RemoveAt(i);
    }
}

void RepaintOtherPagers(const CPagerPlugin* except)
{
    LivePagers live;
    CopyLive(live);
    for (int i = 0; i < live.Count(); ++i)
    {
        // A null window would have the whole screen repainted.
        if (live[i].pager != except && live[i].bar)
            InvalidateRect(live[i].bar, NULL, FALSE);
    }
}

bool FindOtherLivePager(const CPagerPlugin* except, LivePager* found)
{
    CLockScope guard(g_liveLock);
    for (int i = 0; i < g_live.Count(); ++i)
    {
        if (g_live[i].pager != except)
        {
            *found = g_live[i];
            return true;
        }
    }
    return false;
}
