#include "interface/WirePacer.h"

#include <thread>

WirePacer::WirePacer()
    : WirePacer (Timing { [] { return Clock::now(); },
                          [] (Clock::time_point deadline)
                          {
                              // MinGW's sleep_until on the steady clock is one sleep in whole
                              // milliseconds and can wake just before the deadline: sleep again.
                              while (Clock::now() < deadline)
                                  std::this_thread::sleep_until (deadline);
                          } })
{
}

WirePacer::WirePacer (Timing timingToUse) : timing (std::move (timingToUse))
{
}

void WirePacer::send (std::size_t numBytes, const std::function<void()>& sendNow)
{
    const auto start = timing.now();
    const auto backToBack = previousDeadline && start <= *previousDeadline + backToBackSlack;
    const auto deadline = (backToBack ? *previousDeadline : start) + wireTime (numBytes);
    previousDeadline = deadline;

    sendNow();

    if (timing.now() < deadline)
        timing.sleepUntil (deadline);
}
