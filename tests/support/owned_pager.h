// For tests linked with the module's code: a pager made as the class factory
// makes it, released when the test ends.
#pragma once

#include "plugin/pager_plugin.h"

class OwnedPager
{
public:
    OwnedPager() : pager(CreatePagerPlugin()) {}
    ~OwnedPager()
    {
        if (pager)
            pager->Release();
    }
    OwnedPager(const OwnedPager&) = delete;
    OwnedPager& operator=(const OwnedPager&) = delete;

    CPagerPlugin* operator->() const { return pager; }
    CPagerPlugin* get() const { return pager; }
    // Hands the reference back to the caller, for tests that check what the last Release answers.
    CPagerPlugin* release()
    {
        CPagerPlugin* held = pager;
        pager = nullptr;
        return held;
    }

private:
    CPagerPlugin* pager;
};
