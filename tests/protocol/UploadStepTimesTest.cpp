#include "protocol/UploadStepTimes.h"

#include "interface/WirePacer.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using Clock = UploadStepTimes::Clock;

namespace
{
// Messages of 100 bytes (32 ms on the wire), each sent the given time after the pacer's deadline
// for the one before.
UploadStepTimes withGaps (const std::vector<Clock::duration>& gaps, juce::File destination = {})
{
    UploadStepTimes timing (std::move (destination));
    auto deadline = Clock::time_point (1h);
    auto add = [&] (Clock::time_point start)
    {
        auto& m = timing.addMessage();
        m.bytes = 100;
        m.sendStart = start;
        m.sendEnd = start + 1ms;
        m.waitEnd = start + WirePacer::wireTime (100);
    };

    add (deadline - WirePacer::wireTime (100));

    for (const auto gap : gaps)
    {
        add (deadline + gap);
        // As the pacer does: within the slack the timeline goes on, beyond it it starts again.
        deadline =
            (gap <= WirePacer::backToBackSlack ? deadline : deadline + gap) + WirePacer::wireTime (100);
    }

    return timing;
}
} // namespace

TEST (UploadStepTimes, GapsFollowThePacersTimelineAndCountItsRestarts)
{
    // A gap beyond the slack moves the deadlines after it: the next gaps are measured from there.
    const auto s = withGaps ({ 2ms, 1ms, 30ms, 3ms, 4ms, 12ms, 1ms, 2ms, 5ms, 0ms }).summarise();

    EXPECT_EQ (s.messages, 11u);
    EXPECT_EQ (s.restarts, 2u);
    EXPECT_EQ (s.gapMedian, 2ms); // nearest rank: the 5th of 10
    EXPECT_EQ (s.gap95, 30ms);
    EXPECT_EQ (s.gapMax, 30ms);
}

TEST (UploadStepTimes, StepsReportTheirMeanAndLargestTime)
{
    UploadStepTimes timing (juce::File {});

    for (const auto check : { 1ms, 2ms, 6ms })
    {
        auto& m = timing.addMessage();
        m.bytes = 10;
        m.check = check;
        m.progressLockWait = 2 * check;
    }

    const auto s = timing.summarise();
    EXPECT_EQ (s.check.mean, 3ms);
    EXPECT_EQ (s.check.max, 6ms);
    EXPECT_EQ (s.progressLockWait.mean, 6ms);
    EXPECT_EQ (s.progressLockWait.max, 12ms);
    EXPECT_EQ (s.disable.max, Clock::duration {});
    EXPECT_EQ (s.restarts, 0u);
}

TEST (UploadStepTimes, WritesTheSummaryAndOneLinePerMessage)
{
    TempFolder folder;
    const auto file = folder.getFile ("timing.txt");
    const auto timing = withGaps ({ 2ms, 20ms }, file);

    ASSERT_TRUE (timing.write());
    const auto lines = juce::StringArray::fromLines (file.loadFileAsString().trim());

    EXPECT_EQ (lines[0], "messages 3 restarts 1");
    EXPECT_EQ (lines[1], "gap_us median 2000 p95 20000 max 20000");
    EXPECT_EQ (lines.size(), 7 + 3);
    EXPECT_TRUE (
        lines[7].startsWith ("message bytes 100 send_start_us 0 send_end_us 1000 wait_end_us 32000"));
}
