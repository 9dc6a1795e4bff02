#pragma once

#include <functional>

// Runs the event loop until done() answers true or the time is up; returns done().
bool processEventsUntil(const std::function<bool()>& done, int timeoutMs = 5000);
// Runs the event loop for a while, to let anything queued arrive that should not.
void processEventsFor(int ms);
