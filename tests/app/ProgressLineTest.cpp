#include "app/ProgressLine.h"

#include <gtest/gtest.h>

using namespace std::chrono;

namespace
{
struct LineCase
{
    const char* name;
    UploadPosition position;
    milliseconds pause;
    const char* expected; // null: no line
};

void PrintTo (const LineCase& c, std::ostream* os)
{
    *os << c.name;
}

std::string caseName (const ::testing::TestParamInfo<LineCase>& param)
{
    return param.param.name;
}

class ProgressLineTable : public ::testing::TestWithParam<LineCase>
{
};
} // namespace

// The built-in image: 236024 bytes in 396 messages, 75.53 s on the wire at 320 us a byte.
TEST_P (ProgressLineTable, ShowsPerCentBytesMessagesAndTimeLeft)
{
    const auto& c = GetParam();
    const auto line = ProgressLine::format (c.position, c.pause);

    if (c.expected == nullptr)
        EXPECT_FALSE (line.has_value()) << *line;
    else
        EXPECT_EQ (line.value_or ("(none)"), c.expected);
}

INSTANTIATE_TEST_SUITE_P (
    Lines, ProgressLineTable,
    ::testing::Values (LineCase { "Start",
                                  { 0, 236024, 0, 396 },
                                  milliseconds (0),
                                  "  0%  0 of 236024 bytes  0 of 396 messages  1:16 left" },
                       LineCase { "Middle",
                                  { 99136, 236024, 166, 396 },
                                  milliseconds (0),
                                  " 42%  99136 of 236024 bytes  166 of 396 messages  0:44 left" },
                       LineCase { "MiddleWithPause",
                                  { 99136, 236024, 166, 396 },
                                  milliseconds (100),
                                  " 42%  99136 of 236024 bytes  166 of 396 messages  1:07 left" },
                       // One byte short of the end is not yet 100 %.
                       LineCase { "LastByteToGo",
                                  { 236023, 236024, 395, 396 },
                                  milliseconds (0),
                                  " 99%  236023 of 236024 bytes  395 of 396 messages  0:01 left" },
                       LineCase { "End",
                                  { 236024, 236024, 396, 396 },
                                  milliseconds (0),
                                  "100%  236024 of 236024 bytes  396 of 396 messages  0:00 left" },
                       // 64 MiB, the largest file loaded: hours on the wire, and no overflow in the per cent.
                       LineCase { "LongFile",
                                  { 33554432, 67108864, 5000, 10000 },
                                  milliseconds (0),
                                  " 50%  33554432 of 67108864 bytes  5000 of 10000 messages  2:58:58 left" },
                       LineCase { "ZeroByteImageRefused", { 0, 0, 0, 0 }, milliseconds (0), nullptr }),
    caseName);
