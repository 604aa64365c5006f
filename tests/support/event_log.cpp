#include "support/event_log.h"

static std::vector<std::string> g_events;

void LogEvent(const std::string& event)
{
    g_events.push_back(event);
}

void ClearEvents()
{
    g_events.clear();
}

const std::vector<std::string>& Events()
{
    return g_events;
}

std::vector<std::string> EventsWithPrefix(const std::string& prefix)
{
    std::vector<std::string> result;
    for (const std::string& event : g_events)
    {
        if (event.compare(0, prefix.size(), prefix) == 0)
            result.push_back(event);
    }
    return result;
}
