#include "app/AutomaticStart.h"

#include <gtest/gtest.h>

namespace
{
using Problem = FirmwareFileLoader::Problem;

const juce::StringArray threeOutputs { "Pedal A", "Synth", "Synth Pro" };
const juce::StringArray noOutputs;

struct Case
{
    const char* commandLine;
    const juce::StringArray& outputs;
    Problem fileProblem;
    int outputItemId;
    bool mayStart;
    ExitStatus failureStatus;
    const char* failureLine;
};
} // namespace

TEST (AutomaticStart, DecidesFromOptionsOutputsAndFile)
{
    const Case cases[] = {
        // Manual mode: nothing is selected and nothing starts, whatever the file.
        { "", threeOutputs, Problem::none, 0, false, ExitStatus::stopped, "" },
        { "--outputid 2 --file /x/fw.syx", threeOutputs, Problem::missing, 0, false, ExitStatus::stopped,
          "" },
        // By number (1 when none is given).
        { "--autoupdate", threeOutputs, Problem::none, 1, true, ExitStatus::stopped, "" },
        { "--autoupdate --outputid 3", threeOutputs, Problem::none, 3, true, ExitStatus::stopped, "" },
        { "--autoupdate --outputid 4", threeOutputs, Problem::none, 4, false, ExitStatus::noSuchOutput,
          "there is no MIDI output 4 (3 outputs); nothing was sent" },
        { "--autoupdate", noOutputs, Problem::none, 1, false, ExitStatus::noSuchOutput,
          "there is no MIDI output 1 (0 outputs); nothing was sent" },
        // By name: an exact name first, else the one name that contains it; the name wins over a number.
        { "--autoupdate --output Synth", threeOutputs, Problem::none, 2, true, ExitStatus::stopped, "" },
        { "--autoupdate --output synth pro", threeOutputs, Problem::none, 3, true, ExitStatus::stopped, "" },
        { "--autoupdate --output Synth --outputid 1", threeOutputs, Problem::none, 2, true,
          ExitStatus::stopped, "" },
        { "--autoupdate --output synt", threeOutputs, Problem::none, 0, false, ExitStatus::noSuchOutput,
          "\"synt\" fits several MIDI outputs: \"Synth\", \"Synth Pro\"; nothing was sent" },
        { "--autoupdate --output Drum", threeOutputs, Problem::none, 0, false, ExitStatus::noSuchOutput,
          "no MIDI output is named \"Drum\" (outputs: \"Pedal A\", \"Synth\", \"Synth Pro\"); nothing was "
          "sent" },
        // A file that did not load ends it before any output matters; the output is still selected.
        { "--autoupdate --outputid 2 --file /x/fw.syx", threeOutputs, Problem::missing, 2, false,
          ExitStatus::imageUnusable, "the firmware file /x/fw.syx could not be found; nothing was sent" },
        { "--autoupdate --output Drum --file /x/my fw.syx", threeOutputs, Problem::empty, 0, false,
          ExitStatus::imageUnusable, "the firmware file /x/my fw.syx is empty; nothing was sent" },
        { "--autoupdate --outputid 9 --file big.syx", noOutputs, Problem::tooLarge, 9, false,
          ExitStatus::imageUnusable,
          "the firmware file big.syx is too large to be a firmware image; nothing was sent" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.commandLine);
        const auto start =
            AutomaticStart::decide (parseCommandLine (c.commandLine), c.outputs, c.fileProblem);

        EXPECT_EQ (start.outputItemId, c.outputItemId);
        EXPECT_EQ (start.mayStart, c.mayStart);

        if (!c.mayStart)
        {
            EXPECT_EQ (start.failureStatus, c.failureStatus);
        }

        EXPECT_EQ (start.failureLine, c.failureLine);
    }
}

TEST (AutomaticStart, AListedOutputThatDoesNotOpenEndsItWithItsName)
{
    const auto start =
        AutomaticStart::decide (parseCommandLine ("--autoupdate --output pro"), threeOutputs, Problem::none)
            .outputNotOpened (threeOutputs);

    EXPECT_EQ (start.outputItemId, 3);
    EXPECT_FALSE (start.mayStart);
    EXPECT_EQ (start.failureStatus, ExitStatus::noSuchOutput);
    EXPECT_EQ (start.failureLine, "MIDI output 3 (Synth Pro) could not be opened; nothing was sent");
}
