#include "interface/WirePacer.h"

#include <gtest/gtest.h>

#include <ctime>
#include <vector>

using namespace std::chrono_literals;
using Clock = WirePacer::Clock;

namespace
{
// A clock that moves only when told, and a sleep that records its deadlines and jumps there.
struct FakeTime
{
    Clock::time_point now = Clock::time_point (1h);
    int reads = 0;
    std::vector<Clock::time_point> sleeps;

    WirePacer pacer()
    {
        return WirePacer (WirePacer::Timing { [this]
                                              {
                                                  ++reads;
                                                  return now;
                                              },
                                              [this] (Clock::time_point deadline)
                                              {
                                                  sleeps.push_back (deadline);
                                                  now = std::max (now, deadline);
                                              } });
    }
};

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

TEST (WirePacer, MessagesBackToBackDoNotDrift)
{
    FakeTime time;
    const auto pacer = time.pacer();
    const auto start = time.now;

    for (int i = 0; i < 400; ++i)
        pacer.send (600, [&] { time.now += 7us; });

    EXPECT_EQ (time.now, start + 400 * WirePacer::wireTime (600));
}

// The real clock and sleep: the wait lasts at least the wire time and costs next to no CPU time.
TEST (WirePacer, RealWaitSleepsInsteadOfSpinning)
{
    const WirePacer pacer;
    const auto wallStart = Clock::now();
    const auto cpuStart = threadCpuTime();

    pacer.send (200, [] {}); // 64 ms

    EXPECT_GE (Clock::now() - wallStart, WirePacer::wireTime (200));
    EXPECT_LT (threadCpuTime() - cpuStart, 16ms);
}
