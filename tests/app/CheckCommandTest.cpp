// --check from the command line to its output and exit status.
#include "app/CheckCommand.h"
#include "support/SysexImages.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sstream>

namespace
{
struct CheckRun
{
    int status;
    std::string out, err;
};

CheckRun runCheck (const juce::String& commandLine)
{
    std::ostringstream out, err;
    const auto status = CheckCommand::run (parseCommandLine (commandLine), out, err);
    return { status, out.str(), err.str() };
}
} // namespace

TEST (CheckCommand, SoundFileIsReportedOnStdoutWithStatus0)
{
    const TempFolder temp;
    const auto file = temp.write ("my firmware.syx", makeSysexImage (40, 121));
    const auto run = runCheck ("--check --file " + file.getFullPathName());

    EXPECT_EQ (run.status, 0);
    EXPECT_EQ (run.err, "");
    EXPECT_NE (run.out.find ("Image:           my firmware.syx\n"), std::string::npos) << run.out;
    EXPECT_NE (run.out.find ("Size:            4840 bytes\n"), std::string::npos) << run.out;
    EXPECT_NE (run.out.find ("SysEx messages:  40\n"), std::string::npos) << run.out;
    // The figure itself is checked against a known value in ImageCheckTest.
    const auto sha =
        juce::String (run.out).fromFirstOccurrenceOf ("SHA-256:         ", false, false).trimEnd();
    EXPECT_EQ (sha.length(), 64) << run.out;
    EXPECT_TRUE (sha.containsOnly ("0123456789abcdef")) << run.out;
}

TEST (CheckCommand, BuiltInImageWithoutFile)
{
    const auto run = runCheck ("--check");

    EXPECT_EQ (run.status, 0);
    EXPECT_NE (run.out.find ("Image:           built-in, Halvane Chorus 1.0.03 - R1806\n"), std::string::npos)
        << run.out;
    EXPECT_NE (run.out.find ("Size:            236024 bytes\n"), std::string::npos) << run.out;
    EXPECT_NE (run.out.find ("SysEx messages:  396\n"), std::string::npos) << run.out;
}

// Status 2 and one line on stderr that says what is wrong (and where); nothing on stdout.
TEST (CheckCommand, DamagedOrMissingFileGivesStatus2AndOneLine)
{
    const TempFolder temp;
    auto cut = makeSysexImage (40, 121);
    cut.pop_back();
    const auto damaged = temp.write ("cut.syx", cut);
    const auto empty = temp.write ("empty.syx", nullptr, 0);

    const struct
    {
        juce::String path;
        std::string line;
    } cases[] = {
        { damaged.getFullPathName(),
          "Quillon: the firmware file " + damaged.getFullPathName().toStdString() +
              " is damaged: message 40 (from byte offset 4719 (0x126F)) has no end byte 0xF7: the image ends "
              "at byte offset 4839 (0x12E7)\n" },
        { temp.getFile ("missing.syx").getFullPathName(),
          "Quillon: the firmware file " + temp.getFile ("missing.syx").getFullPathName().toStdString() +
              " could not be found\n" },
        { empty.getFullPathName(),
          "Quillon: the firmware file " + empty.getFullPathName().toStdString() + " is empty\n" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.path);
        const auto run = runCheck ("--check --file " + c.path);
        EXPECT_EQ (run.status, 2);
        EXPECT_EQ (run.out, "");
        EXPECT_EQ (run.err, c.line);
    }
}
