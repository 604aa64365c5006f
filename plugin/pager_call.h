// The scope of one host call into the pager.
#pragma once

#include <windows.h>

#include "plugin/pager_plugin.h"

// Holds a reference for the whole call: the call may let messages in, and
// with them a host that releases the pager. The pager's own lock is taken in
// blocks of the call (CLockScope), never across a switch or a dialog.
class CPagerCall
{
public:
    explicit CPagerCall(CPagerPlugin& calledPager) : pager(calledPager) { pager.AddRef(); }
    ~CPagerCall() { pager.Release(); }
    CPagerCall(const CPagerCall&) = delete;
    CPagerCall& operator=(const CPagerCall&) = delete;

private:
    CPagerPlugin& pager;
};
