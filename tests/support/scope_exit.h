// Runs a cleanup when the scope ends, also when a failed ASSERT returns early.
#pragma once

template <typename Cleanup>
class ScopeExit
{
public:
    explicit ScopeExit(Cleanup cleanup) : cleanup(cleanup) {}
    ~ScopeExit() { cleanup(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    Cleanup cleanup;
};
