#include "app/CommandLine.h"
#include "app/Application.h"

#include <gtest/gtest.h>

#include <limits>

namespace
{
constexpr int intMax = std::numeric_limits<int>::max();
constexpr int intMin = std::numeric_limits<int>::min();

struct Case
{
    const char* commandLine;
    bool bFile;
    const char* strFile;
    bool bAutoUpdate;
    int nOutputid; // 0: not read (manual mode)
    int nInputid;
};
} // namespace

TEST (CommandLine, RulesTable)
{
    const Case cases[] = {
        // No options, unknown text.
        { "", false, "", false, 0, 0 },
        { "whatever -x 5", false, "", false, 0, 0 },
        // --file: whole word in any letter case; the rest of the line, trimmed, is the name.
        { "--file /tmp/fw.syx", true, "/tmp/fw.syx", false, 0, 0 },
        { "--FILE /tmp/fw.syx", true, "/tmp/fw.syx", false, 0, 0 },
        { "--file   /tmp/dir with blank/my  fw.syx \t", true, "/tmp/dir with blank/my  fw.syx", false, 0, 0 },
        { "--file \"/tmp/fw.syx\"", true, "\"/tmp/fw.syx\"", false, 0, 0 },
        { "--file", true, "", false, 0, 0 },
        { "--file    ", true, "", false, 0, 0 },
        { "--filex /tmp/fw.syx", false, "", false, 0, 0 },
        { "--file2 /tmp/fw.syx", false, "", false, 0, 0 },
        { "x--file /tmp/fw.syx", false, "", false, 0, 0 },
        { "--file=/tmp/fw.syx", true, "=/tmp/fw.syx", false, 0, 0 },
        { "--filename=a --file b.syx", true, "b.syx", false, 0, 0 },
        // Options after --file belong to the file name, but are still recognised themselves.
        { "--file fw.syx --autoupdate", true, "fw.syx --autoupdate", true, 1, 1 },
        { "--autoupdate --outputid 2 --file fw.syx", true, "fw.syx", true, 2, 1 },
        // --autoupdate: whole word, any letter case; device numbers default to 1.
        { "--autoupdate", false, "", true, 1, 1 },
        { "--AutoUpdate", false, "", true, 1, 1 },
        { "--autoupdates", false, "", false, 0, 0 },
        // Device numbers: sign, digits up to the first other character, raised to at least 1.
        { "--autoupdate --outputid 3", false, "", true, 3, 1 },
        { "--autoupdate --outputid +3", false, "", true, 3, 1 },
        { "--autoupdate --outputid    7x", false, "", true, 7, 1 },
        { "--autoupdate --outputid 0", false, "", true, 1, 1 },
        { "--autoupdate --outputid -5", false, "", true, 1, 1 },
        { "--autoupdate --outputid - 5", false, "", true, 1, 1 },
        { "--autoupdate --outputid abc", false, "", true, 1, 1 },
        { "--autoupdate --outputid ", false, "", true, 1, 1 },
        { "--autoupdate --OUTPUTID 4 --inputid 5", false, "", true, 4, 5 },
        { "--autoupdate --outputid 3 --outputid 4", false, "", true, 3, 1 },
        // Clamped to the 32-bit range (then raised to 1 when negative).
        { "--autoupdate --outputid 2147483647", false, "", true, intMax, 1 },
        { "--autoupdate --outputid 2147483648", false, "", true, intMax, 1 },
        { "--autoupdate --outputid 99999999999999999999999999", false, "", true, intMax, 1 },
        { "--autoupdate --outputid -99999999999", false, "", true, 1, 1 },
        // The option text includes its blank: the equals-sign form and a tab are not recognised.
        { "--autoupdate --outputid=3", false, "", true, 1, 1 },
        { "--autoupdate --outputid\t3", false, "", true, 1, 1 },
        // Without --autoupdate the numbers are not read.
        { "--outputid 3 --inputid 2", false, "", false, 0, 0 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.commandLine);
        const auto options = parseCommandLine (juce::String::fromUTF8 (c.commandLine));
        EXPECT_EQ (options.bFile, c.bFile);
        EXPECT_EQ (options.strFile, juce::String::fromUTF8 (c.strFile));
        EXPECT_EQ (options.bAutoUpdate, c.bAutoUpdate);
        EXPECT_EQ (options.nOutputid, c.nOutputid);
        EXPECT_EQ (options.nInputid, c.nInputid);
    }
}

// The options only this program adds. They count only before --file (the rest of the line is the
// file's name) and leave the original rules as they were.
TEST (CommandLine, OutputNameAndInformationOptions)
{
    const struct
    {
        const char* commandLine;
        const char* strOutput;
        bool bHelp, bVersion, bListOutputs;
        const char* strFile;
    } cases[] = {
        { "--autoupdate --output VirMIDI 0-0", "VirMIDI 0-0", false, false, false, "" },
        { "--autoupdate --OUTPUT usb midi pedal --file /tmp/fw.syx", "usb midi pedal", false, false, false,
          "/tmp/fw.syx" },
        { "--output Pedal --outputid 2 --autoupdate", "Pedal", false, false, false, "" },
        { "--autoupdate --output   Pedal  ", "Pedal", false, false, false, "" },
        { "--autoupdate --output", "", false, false, false, "" },
        { "--autoupdate --output=Pedal", "", false, false, false, "" },
        { "--autoupdate --outputs Pedal", "", false, false, false, "" },
        { "--output Pedal", "", false, false, false, "" }, // only with --autoupdate
        { "--autoupdate --file fw.syx --output Pedal", "", false, false, false, "fw.syx --output Pedal" },
        { "--help", "", true, false, false, "" },
        { "--Version --list-outputs", "", false, true, true, "" },
        { "--file my --help.syx", "", false, false, false, "my --help.syx" },
        { "--list-outputsx --help2", "", false, false, false, "" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.commandLine);
        const auto options = parseCommandLine (c.commandLine);
        EXPECT_EQ (options.strOutput, c.strOutput);
        EXPECT_EQ (options.bHelp, c.bHelp);
        EXPECT_EQ (options.bVersion, c.bVersion);
        EXPECT_EQ (options.bListOutputs, c.bListOutputs);
        EXPECT_EQ (options.strFile, c.strFile);
    }
}

// --pause refuses what it cannot use, naming the option and its range, rather than guessing.
TEST (CommandLine, PauseIsMillisecondsFrom0To5000OrRefused)
{
    const juce::String range = "--pause takes a number of milliseconds from 0 to 5000";
    const struct
    {
        const char* commandLine;
        int nPause;
        juce::String pauseError;
    } cases[] = {
        { "", 0, {} },
        { "--pause 100", 100, {} },
        { "--PAUSE 0", 0, {} },
        { "--pause 5000", 5000, {} },
        { "--pause 0200 --autoupdate", 200, {} },
        { "--autoupdate --output Pedal --pause 150", 150, {} },
        { "--pause 5001", 0, range + ", not \"5001\"" },
        { "--pause 99999999999999999999", 0, range + ", not \"99999999999999999999\"" },
        { "--pause -1", 0, range + ", not \"-1\"" },
        { "--pause 100ms", 0, range + ", not \"100ms\"" },
        { "--pause 1e3", 0, range + ", not \"1e3\"" },
        { "--pause=100", 0, range + ", not \"=100\"" },
        { "--pause abc", 0, range + ", not \"abc\"" },
        { "--pause --autoupdate", 0, range + ", not \"--autoupdate\"" },
        { "--pause", 0, range + "; none was given" },
        { "--pause --file fw.syx", 0, range + "; none was given" },
        // Only before --file, like the other options this program adds; a longer word is another option.
        { "--file my --pause 9.syx", 0, {} },
        { "--pauses 100", 0, {} },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.commandLine);
        const auto options = parseCommandLine (c.commandLine);
        EXPECT_EQ (options.nPause, c.nPause);
        EXPECT_EQ (options.pauseError, c.pauseError);
    }

    // The output name ends where --pause begins.
    EXPECT_EQ (parseCommandLine ("--autoupdate --output USB Pedal --pause 100").strOutput, "USB Pedal");
}

TEST (CommandLine, IntegerValueIsClampedToThe32BitRange)
{
    const std::pair<const char*, int> cases[] = {
        { "  -2147483648", intMin },
        { "-2147483649", intMin },
        { "-99999999999999999999", intMin },
        { "2147483647", intMax },
        { "+2147483648", intMax },
        { "00000000000000000000012", 12 },
        { "", 0 },
        { "+", 0 },
        { "--1", 0 },
        { "\t\n 42 43", 42 },
    };

    for (const auto& [text, expected] : cases)
    {
        SCOPED_TRACE (text);
        EXPECT_EQ (parseCommandLineInteger (text), expected);
    }
}

TEST (CommandLine, EntryPointJoinsArgumentsWithSingleBlanksAndNoQuotes)
{
    const char* withBlank[] = { "Quillon", "--file", "/tmp/dir with blank/fw.syx" };
    EXPECT_EQ (Application::joinArguments (3, withBlank), "--file /tmp/dir with blank/fw.syx");

    const char* quotedAndUtf8[] = { "Quillon", "--autoupdate", "--file", "\"/tmp/\xc3\xbc.syx\"" };
    EXPECT_EQ (Application::joinArguments (4, quotedAndUtf8),
               juce::String::fromUTF8 ("--autoupdate --file \"/tmp/\xc3\xbc.syx\""));

    const char* programOnly[] = { "Quillon" };
    EXPECT_EQ (Application::joinArguments (1, programOnly), "");
}

// The terminal's options: --no-window is an automatic update (device numbers read as for
// --autoupdate); all three count only before --file and end an --output name.
TEST (CommandLine, TerminalOptions)
{
    const struct
    {
        const char* commandLine;
        bool bNoWindow, bAutoUpdate, bQuiet, bCheck;
        int nOutputid;
        const char* strOutput;
        const char* strFile;
    } cases[] = {
        { "--no-window --outputid 3", true, true, false, false, 3, "", "" },
        { "--NO-WINDOW --output USB MIDI Pedal --quiet --file fw.syx", true, true, true, false, 1,
          "USB MIDI Pedal", "fw.syx" },
        { "--autoupdate --quiet --outputid 2", false, true, true, false, 2, "", "" },
        { "--check", false, false, false, true, 0, "", "" },
        { "--check --file /tmp/my fw.syx", false, false, false, true, 0, "", "/tmp/my fw.syx" },
        { "--file fw --no-window --check.syx", false, false, false, false, 0, "",
          "fw --no-window --check.syx" },
        { "--no-windows --quieter --checks", false, false, false, false, 0, "", "" },
        { "--output Pedal --no-window", true, true, false, false, 1, "Pedal", "" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.commandLine);
        const auto options = parseCommandLine (c.commandLine);
        EXPECT_EQ (options.bNoWindow, c.bNoWindow);
        EXPECT_EQ (options.bAutoUpdate, c.bAutoUpdate);
        EXPECT_EQ (options.bQuiet, c.bQuiet);
        EXPECT_EQ (options.bCheck, c.bCheck);
        EXPECT_EQ (options.nOutputid, c.nOutputid);
        EXPECT_EQ (options.strOutput, c.strOutput);
        EXPECT_EQ (options.strFile, c.strFile);
    }
}
