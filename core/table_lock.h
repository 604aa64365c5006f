// One lock for the state that every pager of the process shares: the desktop
// table, the staging area of a load and the live window list. Each host
// thread may run pagers of its own, so a per-object lock cannot guard them.
// Taken after a pager's own lock, never before it. It guards reading and
// writing that state only: no holder shows or hides a window of another
// thread, probes one or sends it a message.
#pragma once

void EnterTableLock();
void LeaveTableLock();

// Holds the lock for one scope.
class CTableLock
{
public:
    CTableLock() { EnterTableLock(); }
    ~CTableLock() { LeaveTableLock(); }
    CTableLock(const CTableLock&) = delete;
    CTableLock& operator=(const CTableLock&) = delete;
};

// When the module unloads and nothing can call in any more.
void DeleteTableLock();
