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

private:
    CPagerPlugin* pager;
};
