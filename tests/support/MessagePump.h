#pragma once

#include <functional>

// Runs the message loop (message thread only) until the condition holds or timeoutMs has passed;
// returns whether it holds. The time-out is for a failing test only: a passing one returns as soon
// as the condition holds, so it is generous for slow sanitizer builds.
bool pumpUntil (const std::function<bool()>& condition, int timeoutMs = 20000);
