// The pagers of the process that have a site: each with its bar's thread and
// window, so that one pager's switch can have every grid repainted and the
// keys can be handed on when their pager goes.
#pragma once

#include <windows.h>

class CPagerPlugin;

struct LivePager
{
    CPagerPlugin* pager;
    DWORD thread;
    HWND bar;
};

// Called on the pager's own thread, whenever it learns its bar's window
// (null when it does not know it yet: a known window is kept).
void AddLivePager(CPagerPlugin* pager, HWND bar);
void RemoveLivePager(CPagerPlugin* pager);
// Has the bars of the other pagers painted again, on their own threads.
void RepaintOtherPagers(const CPagerPlugin* except);
// The first live pager other than `except`; false when there is none.
bool FindOtherLivePager(const CPagerPlugin* except, LivePager* found);
