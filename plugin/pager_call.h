// The scope of one host call into the pager.
#pragma once

#include <windows.h>

#include "core/table_lock.h"
#include "plugin/pager_plugin.h"

// Holds a reference for the whole call: the call may let messages in, and
// with them a host that releases the pager. LockPager() takes the pager's
// own lock, LockTable() that one and then the table lock, until Unlock() or
// the end of the scope. Neither is held across a switch or a dialog, and the
// table lock never across a call into the site.
class CPagerCall
{
public:
    explicit CPagerCall(CPagerPlugin& calledPager) : pager(calledPager), pagerLocked(false), tableLocked(false) { pager.AddRef(); }
    ~CPagerCall()
    {
        Unlock();
        pager.Release();
    }
    CPagerCall(const CPagerCall&) = delete;
    CPagerCall& operator=(const CPagerCall&) = delete;

    void LockPager()
    {
        if (!pagerLocked)
            EnterCriticalSection(&pager.lock);
        pagerLocked = true;
    }
    void LockTable()
    {
        LockPager();
        if (!tableLocked)
            EnterTableLock();
        tableLocked = true;
    }
    void Unlock()
    {
        if (tableLocked)
            LeaveTableLock();
        if (pagerLocked)
            LeaveCriticalSection(&pager.lock);
        tableLocked = pagerLocked = false;
    }

private:
    CPagerPlugin& pager;
    bool pagerLocked;
    bool tableLocked;
};
