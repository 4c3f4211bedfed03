#include "interface/WirePacer.h"

#include "FakeTime.h"

#include <gtest/gtest.h>

#include <ctime>
#include <vector>

using namespace std::chrono_literals;
using Clock = WirePacer::Clock;

namespace
{
std::chrono::nanoseconds threadCpuTime()
{
    timespec ts {};
    clock_gettime (CLOCK_THREAD_CPUTIME_ID, &ts);
    return std::chrono::seconds (ts.tv_sec) + std::chrono::nanoseconds (ts.tv_nsec);
}
} // namespace

TEST (WirePacer, WireTimeIsThreeHundredTwentyMicrosecondsPerByte)
{
    EXPECT_EQ (WirePacer::wireTime (0), 0us);
    EXPECT_EQ (WirePacer::wireTime (1), 320us);
    EXPECT_EQ (WirePacer::wireTime (236024), 75527680us);
}

// The deadline is taken before the send, so time spent inside the send counts; a send that took
// longer than the wire time returns without sleeping.
TEST (WirePacer, WaitsUntilAnAbsoluteDeadlineTakenBeforeTheSend)
{
    struct Case
    {
        std::size_t bytes;
        Clock::duration timeInSend;
        bool sleeps;
    };

    const Case cases[] = {
        { 10, 0us, true },     // wire time 3.2 ms
        { 10, 1000us, true },  // the send's own millisecond is part of the 3.2
        { 10, 3200us, false }, // the send took exactly the wire time
        { 10, 5000us, false }, // and longer
        { 600, 20ms, true },   // wire time 192 ms
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.timeInSend.count());
        FakeTime time;
        const auto start = time.now;
        int sends = 0;

        time.pacer().send (c.bytes,
                           [&]
                           {
                               ++sends;
                               time.now += c.timeInSend;
                           });

        EXPECT_EQ (sends, 1);
        EXPECT_EQ (time.sleeps, c.sleeps
                                    ? std::vector<Clock::time_point> { start + WirePacer::wireTime (c.bytes) }
                                    : std::vector<Clock::time_point> {});
        EXPECT_EQ (time.reads, 2); // one reading before the send, one after: no polling loop
    }
}

// Back to back, late wake-ups do not add up: four hundred messages take their wire time plus the
// last wake-up's lateness, and no message returns more than that lateness before its own wire time.
TEST (WirePacer, MessagesBackToBackDoNotDrift)
{
    withWakeUpsOnTimeAndLate (
        [] (FakeTime& time, WirePacer& pacer)
        {
            const auto late = time.lateWakeUp;
            const auto start = time.now;

            for (int i = 0; i < 400; ++i)
            {
                const auto messageStart = time.now;
                pacer.send (600, [&] { time.now += 7us; });
                EXPECT_GE (time.now, messageStart + WirePacer::wireTime (600) - late);
            }

            EXPECT_EQ (time.now, start + 400 * WirePacer::wireTime (600) + late);
        });
}

// A message that starts shortly after the previous deadline continues its timeline; one that starts
// later is not sent early to make up for the pause: it gets its whole wire time from its own start.
TEST (WirePacer, OnlyAMessageWithinTheSlackContinuesThePreviousTimeline)
{
    struct Case
    {
        Clock::duration pause;
        Clock::time_point (*expectedDeadline) (Clock::time_point previousDeadline, Clock::time_point start);
    };

    const auto fromPrevious = [] (Clock::time_point previous, Clock::time_point)
    {
        return previous + WirePacer::wireTime (100);
    };
    const auto fromStart = [] (Clock::time_point, Clock::time_point start)
    {
        return start + WirePacer::wireTime (100);
    };

    const Case cases[] = {
        { WirePacer::backToBackSlack / 2, fromPrevious },
        { WirePacer::backToBackSlack, fromPrevious },
        { WirePacer::backToBackSlack + 1us, fromStart },
        { 50ms, fromStart },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (std::chrono::duration_cast<std::chrono::microseconds> (c.pause).count());
        FakeTime time;
        auto pacer = time.pacer();

        pacer.send (100, [] {});
        const auto previousDeadline = time.now;
        time.now += c.pause;
        const auto start = time.now;
        pacer.send (100, [] {});

        EXPECT_EQ (time.sleeps.back(), c.expectedDeadline (previousDeadline, start));
    }
}

// The real clock and sleep: the wait lasts at least the wire time and costs next to no CPU time.
TEST (WirePacer, RealWaitSleepsInsteadOfSpinning)
{
    WirePacer pacer;
    const auto wallStart = Clock::now();
    const auto cpuStart = threadCpuTime();

    pacer.send (200, [] {}); // 64 ms

    EXPECT_GE (Clock::now() - wallStart, WirePacer::wireTime (200));
    EXPECT_LT (threadCpuTime() - cpuStart, 16ms);
}

// In two halves: start hands the bytes over and returns their deadline without waiting; finish
// waits for it. A start before the previous deadline waits for that first, so nothing goes out
// early however the caller spends the wire time.
TEST (WirePacer, StartReturnsTheDeadlineAndFinishWaitsForIt)
{
    struct Case
    {
        const char* name;
        Clock::duration workDuringTheWire;
        bool startWaits;
    };

    const Case cases[] = {
        { "work inside the wire time", 5ms, false },
        { "no work: the next start waits", 0ms, true },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        FakeTime time;
        auto pacer = time.pacer();
        const auto begin = time.now;
        std::vector<Clock::time_point> sentAt;
        const auto send = [&]
        {
            sentAt.push_back (time.now);
        };

        EXPECT_EQ (pacer.start (100, send), begin + WirePacer::wireTime (100));
        EXPECT_EQ (time.now, begin); // returned at once
        time.now += c.workDuringTheWire;

        if (!c.startWaits)
            pacer.finish();

        const auto second = pacer.start (100, send);
        pacer.finish();

        EXPECT_EQ (sentAt, (std::vector<Clock::time_point> { begin, begin + WirePacer::wireTime (100) }));
        EXPECT_EQ (second, begin + WirePacer::wireTime (200)); // one timeline
        EXPECT_EQ (time.now, second);
        EXPECT_EQ (pacer.deadline(), second);
    }
}
