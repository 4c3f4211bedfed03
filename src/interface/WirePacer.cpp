#include "interface/WirePacer.h"

#include <thread>

WirePacer::WirePacer() : WirePacer (Timing { [] { return Clock::now(); }, &WirePacer::sleepUntil })
{
}

void WirePacer::sleepUntil (Clock::time_point deadline)
{
    // MinGW's sleep_until on the steady clock is one sleep in whole milliseconds and can wake just
    // before the deadline: sleep again.
    while (Clock::now() < deadline)
        std::this_thread::sleep_until (deadline);
}

WirePacer::WirePacer (Timing timingToUse) : timing (std::move (timingToUse))
{
}

void WirePacer::send (std::size_t numBytes, const std::function<void()>& sendNow)
{
    start (numBytes, sendNow);
    finish();
}

WirePacer::Clock::time_point WirePacer::start (std::size_t numBytes, const std::function<void()>& sendNow)
{
    auto begin = timing.now();

    if (previousDeadline && begin < *previousDeadline)
    {
        timing.sleepUntil (*previousDeadline);
        begin = timing.now();
    }

    const auto backToBack = previousDeadline && begin <= *previousDeadline + backToBackSlack;
    const auto deadline = (backToBack ? *previousDeadline : begin) + wireTime (numBytes);
    previousDeadline = deadline;

    sendNow();
    return deadline;
}

void WirePacer::finish()
{
    if (previousDeadline && timing.now() < *previousDeadline)
        timing.sleepUntil (*previousDeadline);
}
