#include "interface/SysexPartSender.h"

#include "FakeTime.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace std::chrono_literals;
using Clock = WirePacer::Clock;

namespace
{
// F0, size - 2 data bytes that count up (so a part out of place shows), F7.
std::vector<std::uint8_t> sysex (std::size_t size)
{
    std::vector<std::uint8_t> message (size);

    for (std::size_t i = 0; i < size; ++i)
        message[i] = std::uint8_t (i % 128);

    message.front() = 0xF0;
    message.back() = 0xF7;
    return message;
}

struct Part
{
    std::vector<std::uint8_t> bytes;
    Clock::time_point handedOverAt;
};
} // namespace

TEST (SysexPartSender, SplitsIntoConsecutivePartsNoLargerThanTheLimit)
{
    struct Case
    {
        std::size_t size;
        std::size_t maxPartSize;
        std::vector<std::size_t> partSizes;
    };

    const Case cases[] = {
        { 10000, 2048, { 2048, 2048, 2048, 2048, 1808 } },
        { 2048, 2048, { 2048 } },
        { 2049, 2048, { 2048, 1 } }, // the F7 alone in the last part
        { 4096, 2048, { 2048, 2048 } },
        { 5, 2048, { 5 } },
        { 7, 3, { 3, 3, 1 } },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << c.size << " bytes in parts of " << c.maxPartSize);
        FakeTime time;
        auto pacer = time.pacer();
        const auto message = sysex (c.size);
        std::vector<std::uint8_t> joined;
        std::vector<std::size_t> partSizes;

        const auto sent = SysexPartSender (pacer, c.maxPartSize)
                              .send (message.data(), message.size(),
                                     [&] (const std::uint8_t* data, std::size_t size)
                                     {
                                         partSizes.push_back (size);
                                         joined.insert (joined.end(), data, data + size);
                                         return true;
                                     });

        EXPECT_TRUE (sent);
        EXPECT_EQ (partSizes, c.partSizes);
        EXPECT_EQ (joined, message); // F0 opens the first part, F7 closes the last
    }
}

// A part is handed over only once the previous part's wire time is over (so it has left a buffer
// that holds two parts), and late wake-ups do not add up over the parts: the message takes its wire
// time plus one wake-up's lateness. The send returns with the last part handed over.
TEST (SysexPartSender, HandsOverEachPartWhenThePreviousPartsWireTimeIsOver)
{
    withWakeUpsOnTimeAndLate (
        [] (FakeTime& time, WirePacer& pacer)
        {
            const auto late = time.lateWakeUp;
            const auto message = sysex (10000);
            const auto start = time.now;
            std::vector<Part> parts;

            SysexPartSender (pacer, 2048)
                .send (message.data(), message.size(),
                       [&] (const std::uint8_t* data, std::size_t size)
                       {
                           parts.push_back ({ { data, data + size }, time.now });
                           time.now += 20us; // the sequencer's own time counts towards the part's wire time
                           return true;
                       });

            // The last part's wire time is the pacer's to wait for, once its caller has done its work.
            EXPECT_EQ (time.now, parts.back().handedOverAt + 20us);
            pacer.finish();

            ASSERT_EQ (parts.size(), 5u);
            std::size_t bytesBefore = 0;

            for (const auto& part : parts)
            {
                const auto previousPartsOver = start + WirePacer::wireTime (bytesBefore);
                EXPECT_GE (part.handedOverAt, previousPartsOver);
                EXPECT_LE (part.handedOverAt, previousPartsOver + late);
                bytesBefore += part.bytes.size();
            }

            EXPECT_EQ (time.now, start + WirePacer::wireTime (10000) + late);
        });
}

// Whole messages and parts sent on one pacer share its timeline: a long message right after a short
// one starts where the short one's wire time ends.
TEST (SysexPartSender, ContinuesTheTimelineOfTheMessageBefore)
{
    FakeTime time;
    time.lateWakeUp = 300us;
    auto pacer = time.pacer();
    const auto start = time.now;
    const auto message = sysex (5000);

    pacer.send (600, [] {});
    SysexPartSender (pacer, 2048).send (message.data(), message.size(), [] (auto, auto) { return true; });
    pacer.finish();

    EXPECT_EQ (time.now, start + WirePacer::wireTime (600 + 5000) + time.lateWakeUp);
}

// Once the port refuses a part, the rest of the message is not sent: it could no longer arrive whole.
TEST (SysexPartSender, StopsAtTheFirstRefusedPart)
{
    for (const std::size_t refused : { 0u, 1u, 4u })
    {
        SCOPED_TRACE (refused);
        FakeTime time;
        auto pacer = time.pacer();
        const auto message = sysex (10000);
        std::size_t handedOver = 0;

        const auto sent =
            SysexPartSender (pacer, 2048)
                .send (message.data(), message.size(), [&] (auto, auto) { return handedOver++ != refused; });

        EXPECT_FALSE (sent);
        EXPECT_EQ (handedOver, refused + 1);
    }
}
