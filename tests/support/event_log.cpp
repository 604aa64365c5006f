#include "support/event_log.h"

#include <mutex>

static std::mutex g_eventsLock;
static std::vector<std::string> g_events;

void LogEvent(const std::string& event)
{
    std::lock_guard<std::mutex> guard(g_eventsLock);
    g_events.push_back(event);
}

void ClearEvents()
{
    std::lock_guard<std::mutex> guard(g_eventsLock);
    g_events.clear();
}

std::vector<std::string> Events()
{
    std::lock_guard<std::mutex> guard(g_eventsLock);
    return g_events;
}

std::vector<std::string> EventsWithPrefix(const std::string& prefix)
{
    std::vector<std::string> result;
    for (const std::string& event : Events())
    {
        if (event.compare(0, prefix.size(), prefix) == 0)
            result.push_back(event);
    }
    return result;
}
