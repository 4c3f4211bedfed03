#include "app/TerminalProgress.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace std::chrono;
using Style = TerminalProgress::Style;

namespace
{
// A 1000-byte image of 10 messages, 100 bytes each.
UploadPosition after (int messages)
{
    return { static_cast<juce::uint64> (messages) * 100, 1000, messages, 10 };
}

const TerminalProgress::Clock::time_point t0 {};

std::string lineFor (int messages)
{
    switch (messages)
    {
        case 0:
            return "  0%  0 of 1000 bytes  0 of 10 messages  0:01 left";
        case 1:
            return " 10%  100 of 1000 bytes  1 of 10 messages  0:01 left";
        case 2:
            return " 20%  200 of 1000 bytes  2 of 10 messages  0:01 left";
        case 3:
            return " 30%  300 of 1000 bytes  3 of 10 messages  0:01 left";
        case 10:
            return "100%  1000 of 1000 bytes  10 of 10 messages  0:00 left";
        default:
            return "?";
    }
}
} // namespace

TEST (TerminalProgress, StyleFollowsQuietAndWhetherTheStreamIsATerminal)
{
    EXPECT_EQ (TerminalProgress::styleFor (false, true), Style::redrawn);
    EXPECT_EQ (TerminalProgress::styleFor (false, false), Style::logged);
    EXPECT_EQ (TerminalProgress::styleFor (true, true), Style::quiet);
    EXPECT_EQ (TerminalProgress::styleFor (true, false), Style::quiet);
}

// A log gets the first line at once, then one line per interval however often it is asked, and
// the last position and the final line at the end.
TEST (TerminalProgress, LogGetsAPlainLineEveryIntervalAndAtTheEnd)
{
    std::ostringstream out;
    TerminalProgress progress (out, Style::logged, seconds (5));

    progress.show ({}, milliseconds (0), t0); // before the upload has begun: nothing
    progress.show (after (0), milliseconds (0), t0);
    progress.show (after (1), milliseconds (0), t0 + seconds (1));
    progress.show (after (2), milliseconds (0), t0 + milliseconds (4999));
    progress.show (after (2), milliseconds (0), t0 + seconds (5));
    progress.show (after (3), milliseconds (0), t0 + seconds (6));
    progress.show (after (3), milliseconds (0), t0 + seconds (10));
    progress.show (after (3), milliseconds (0), t0 + seconds (16)); // unchanged: not again
    progress.finish (after (10), milliseconds (0), "Quillon: the update completed", false);

    EXPECT_EQ (out.str(), lineFor (0) + "\n" + lineFor (2) + "\n" + lineFor (3) + "\n" + lineFor (10) + "\n" +
                              "Quillon: the update completed\n");
}

// A terminal gets one line redrawn in place: a carriage return before each new text, blanks over
// the rest of a longer one, and a line end before the final line.
TEST (TerminalProgress, TerminalLineIsRedrawnInPlace)
{
    std::ostringstream out;
    TerminalProgress progress (out, Style::redrawn);

    progress.show (after (0), milliseconds (0), t0);
    progress.show (after (0), milliseconds (0), t0 + milliseconds (100)); // the same text: nothing
    progress.show (after (1), milliseconds (0), t0 + milliseconds (200));
    progress.show ({ 1000, 1000, 10, 10 }, milliseconds (0), t0 + milliseconds (300));
    progress.show ({ 100, 1000, 1, 10 }, milliseconds (0), t0 + milliseconds (400)); // a shorter line
    progress.finish ({ 100, 1000, 1, 10 }, milliseconds (0), "Quillon: the update was stopped", true);

    const auto longer = lineFor (10).size() - lineFor (1).size();
    EXPECT_EQ (out.str(), "\r" + lineFor (0) + "\r" + lineFor (1) + "\r" + lineFor (10) + "\r" + lineFor (1) +
                              std::string (longer, ' ') + "\nQuillon: the update was stopped\n");
}

TEST (TerminalProgress, QuietPrintsOnlyTheFinalLineOfAFailure)
{
    for (const bool failed : { false, true })
    {
        SCOPED_TRACE (failed);
        std::ostringstream out;
        TerminalProgress progress (out, Style::quiet);

        progress.show (after (0), milliseconds (0), t0);
        progress.show (after (3), milliseconds (0), t0 + seconds (10));
        progress.finish (after (3), milliseconds (0), "Quillon: the output device was disconnected", failed);

        EXPECT_EQ (out.str(), failed ? "Quillon: the output device was disconnected\n" : "");
    }
}

// Nothing was sent (a damaged image, no output): no progress line, only the outcome.
TEST (TerminalProgress, UpdateThatNeverBeganEndsWithTheFinalLineAlone)
{
    for (const auto style : { Style::redrawn, Style::logged })
    {
        std::ostringstream out;
        TerminalProgress progress (out, style);
        progress.show ({}, milliseconds (0), t0);
        progress.finish ({}, milliseconds (0), "Quillon: the firmware image is damaged; nothing was sent",
                         true);
        EXPECT_EQ (out.str(), "Quillon: the firmware image is damaged; nothing was sent\n");
    }
}
