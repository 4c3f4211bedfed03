#include "protocol/UploadTiming.h"

#include <gtest/gtest.h>

using namespace std::chrono;

namespace
{
struct TimeLeftCase
{
    const char* name;
    UploadPosition position;
    milliseconds pause;
    milliseconds expected;
};

void PrintTo (const TimeLeftCase& c, std::ostream* os)
{
    *os << c.name;
}

class TimeLeft : public ::testing::TestWithParam<TimeLeftCase>
{
};
} // namespace

// 320 microseconds a byte on the wire; the built-in image is 236024 bytes in 396 messages.
TEST_P (TimeLeft, IsTheWireTimeOfTheBytesToGoPlusThePauseAfterEachMessageToGo)
{
    const auto& c = GetParam();
    EXPECT_EQ (UploadTiming::timeLeft (c.position, c.pause), c.expected);
}

INSTANTIATE_TEST_SUITE_P (
    Upload, TimeLeft,
    ::testing::Values (
        TimeLeftCase { "Start", { 0, 236024, 0, 396 }, milliseconds (0), milliseconds (75528) },
        TimeLeftCase {
            "StartWithPause", { 0, 236024, 0, 396 }, milliseconds (100), milliseconds (75528 + 39600) },
        TimeLeftCase { "Middle", { 118012, 236024, 198, 396 }, milliseconds (0), milliseconds (37764) },
        TimeLeftCase { "MiddleWithPause",
                       { 118012, 236024, 198, 396 },
                       milliseconds (100),
                       milliseconds (37764 + 19800) },
        TimeLeftCase { "LastMessage", { 236015, 236024, 395, 396 }, milliseconds (0), milliseconds (3) },
        TimeLeftCase {
            "LastMessageWithPause", { 236015, 236024, 395, 396 }, milliseconds (100), milliseconds (103) },
        TimeLeftCase { "Done", { 236024, 236024, 396, 396 }, milliseconds (100), milliseconds (0) },
        TimeLeftCase { "NoUploadYet", {}, milliseconds (100), milliseconds (0) }),
    [] (const auto& testCase) { return std::string (testCase.param.name); });

TEST (UploadTiming, FormatsRoundedUpToTheWholeSecond)
{
    const std::pair<milliseconds, const char*> cases[] = {
        { milliseconds (0), "0:00" },          { milliseconds (1), "0:01" },
        { milliseconds (44000), "0:44" },      { milliseconds (44001), "0:45" },
        { milliseconds (75528), "1:16" },      { milliseconds (723000), "12:03" },
        { milliseconds (3723000), "1:02:03" }, { milliseconds (-5), "0:00" },
    };

    for (const auto& [duration, text] : cases)
        EXPECT_EQ (UploadTiming::format (duration), text) << duration.count() << " ms";
}
