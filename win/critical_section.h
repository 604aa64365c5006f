// A critical section that lives as long as its owner, and the scope that
// holds it.
#pragma once

#include <windows.h>

class CCriticalSection
{
public:
    CCriticalSection() { InitializeCriticalSection(&section); }
    ~CCriticalSection() { DeleteCriticalSection(&section); }
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;

    // For a probe that looks at it from another thread.
    CRITICAL_SECTION* Raw() { return &section; }

private:
    friend class CLockScope;
    CRITICAL_SECTION section;
};

class CLockScope
{
public:
    explicit CLockScope(CCriticalSection& held) : lock(held) { EnterCriticalSection(&lock.section); }
    ~CLockScope() { LeaveCriticalSection(&lock.section); }
    CLockScope(const CLockScope&) = delete;
    CLockScope& operator=(const CLockScope&) = delete;

private:
    CCriticalSection& lock;
};
