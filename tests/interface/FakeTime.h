#pragma once

#include "interface/WirePacer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <vector>

// For WirePacer tests: a clock that moves only when told, and a sleep that records its deadlines
// and jumps there (or lateWakeUp past them, as a real sleep does).
struct FakeTime
{
    WirePacer::Clock::time_point now = WirePacer::Clock::time_point (std::chrono::hours (1));
    WirePacer::Clock::duration lateWakeUp {};
    int reads = 0;
    std::vector<WirePacer::Clock::time_point> sleeps;

    WirePacer pacer()
    {
        return WirePacer (WirePacer::Timing { [this]
                                              {
                                                  ++reads;
                                                  return now;
                                              },
                                              [this] (WirePacer::Clock::time_point deadline)
                                              {
                                                  sleeps.push_back (deadline);
                                                  now = std::max (now, deadline + lateWakeUp);
                                              } });
    }
};

// Runs check (time, pacer) with a fresh FakeTime and its pacer, once with wake-ups on time and once
// with every wake-up 300 us late, as a busy machine's are (time.lateWakeUp says which).
template <typename Check> void withWakeUpsOnTimeAndLate (Check&& check)
{
    using namespace std::chrono;

    for (const auto late : { WirePacer::Clock::duration (0us), WirePacer::Clock::duration (300us) })
    {
        SCOPED_TRACE (late.count());
        FakeTime time;
        time.lateWakeUp = late;
        auto pacer = time.pacer();
        check (time, pacer);
    }
}
