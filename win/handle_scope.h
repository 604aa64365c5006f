// A kernel handle closed when the scope ends.
#pragma once

#include <windows.h>

class CHandleScope
{
public:
    explicit CHandleScope(HANDLE owned) : handle(owned) {}
    ~CHandleScope()
    {
        if (handle)
            CloseHandle(handle);
    }
    CHandleScope(const CHandleScope&) = delete;
    CHandleScope& operator=(const CHandleScope&) = delete;

    HANDLE get() const { return handle; }

private:
    HANDLE handle;
};
