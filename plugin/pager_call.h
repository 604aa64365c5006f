// The scope of one host call into the pager.
#pragma once

#include <windows.h>

#include "core/table_lock.h"
#include "plugin/pager_plugin.h"

// Holds a reference for the whole call: the call may let messages in, and
// with them a host that releases the pager. Lock() takes the pager's own lock
// and then the table lock until Unlock() or the end of the scope; neither may
// be held across a switch, a dialog or a call into the site.
class CPagerCall
{
public:
    explicit CPagerCall(CPagerPlugin& calledPager) : pager(calledPager), locked(false) { pager.AddRef(); }
    ~CPagerCall()
    {
        Unlock();
        pager.Release();
    }
    CPagerCall(const CPagerCall&) = delete;
    CPagerCall& operator=(const CPagerCall&) = delete;

    void Lock()
    {
        if (locked)
            return;
        EnterCriticalSection(&pager.lock);
        EnterTableLock();
        locked = true;
    }
    void Unlock()
    {
        if (!locked)
            return;
        LeaveTableLock();
        LeaveCriticalSection(&pager.lock);
        locked = false;
    }

private:
    CPagerPlugin& pager;
    bool locked;
};
