// One ordered log of everything a test observes: site calls and window messages.
#pragma once

#include <string>
#include <vector>

void LogEvent(const std::string& event);
void ClearEvents();
const std::vector<std::string>& Events();

// The events that start with `prefix`, in order.
std::vector<std::string> EventsWithPrefix(const std::string& prefix);
