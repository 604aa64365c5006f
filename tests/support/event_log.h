// One ordered log of everything a test observes: site calls and window messages.
// Windows of other threads may log too, so every access is locked.
#pragma once

#include <string>
#include <vector>

void LogEvent(const std::string& event);
void ClearEvents();
std::vector<std::string> Events();

// The events that start with `prefix`, in order.
std::vector<std::string> EventsWithPrefix(const std::string& prefix);
