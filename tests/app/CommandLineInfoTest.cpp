// What the program prints instead of its window, and how --output NAME picks an output.
#include "app/CommandLineInfo.h"
#include "app/CommandLineOptionTable.h"
#include "app/ExitStatus.h"
#include "app/OutputMatch.h"
#include "support/VirtualMidiPortProvider.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

TEST (OutputMatch, ExactNameFirstThenTheOnlyOneContainingIt)
{
    const juce::StringArray outputs { "Midi Through Port-0", "VirMIDI 0-0", "VirMIDI 0-1",
                                      "USB MIDI Pedal MIDI 1", "Pedal" };

    const struct
    {
        const char* wanted;
        int itemId;
        const char* candidates;
    } cases[] = {
        { "VirMIDI 0-0", 2, "VirMIDI 0-0" },              // exact
        { "Pedal", 5, "Pedal" },                          // exact wins over containing
        { "usb midi pedal", 4, "USB MIDI Pedal MIDI 1" }, // the only one containing it, any case
        { "through", 1, "Midi Through Port-0" },          //
        { "VirMIDI", 0, "VirMIDI 0-0|VirMIDI 0-1" },      // several: none chosen
        { "virmidi 0-", 0, "VirMIDI 0-0|VirMIDI 0-1" },   //
        { "Synth", 0, "" },                               // none
        { "", 0, "" },                                    // nothing asked for
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.wanted);
        const auto match = matchOutputName (outputs, c.wanted);
        EXPECT_EQ (match.itemId, c.itemId);
        EXPECT_EQ (match.candidates.joinIntoString ("|"), c.candidates);
    }

    // Two devices of the same name: an exact match that is not unique chooses none.
    const auto twins = matchOutputName ({ "Pedal", "Pedal" }, "Pedal");
    EXPECT_EQ (twins.itemId, 0);
    EXPECT_EQ (twins.candidates.size(), 2);
}

TEST (OutputMatch, MismatchLineListsWhatThereIs)
{
    const juce::StringArray outputs { "VirMIDI 0-0", "VirMIDI 0-1" };

    EXPECT_EQ (describeOutputMismatch (outputs, "VirMIDI", matchOutputName (outputs, "VirMIDI")),
               "\"VirMIDI\" fits several MIDI outputs: \"VirMIDI 0-0\", \"VirMIDI 0-1\"; nothing was sent");
    EXPECT_EQ (
        describeOutputMismatch (outputs, "Pedal", matchOutputName (outputs, "Pedal")),
        "no MIDI output is named \"Pedal\" (outputs: \"VirMIDI 0-0\", \"VirMIDI 0-1\"); nothing was sent");
    EXPECT_EQ (describeOutputMismatch ({}, "Pedal", {}),
               "no MIDI output is named \"Pedal\" (outputs: none); nothing was sent");
}

namespace
{
struct InfoRun
{
    std::optional<int> status;
    std::string printed;
};

InfoRun runInfo (const juce::String& commandLine, MidiPortProvider& ports)
{
    std::ostringstream out;
    const auto status = CommandLineInfo::run (parseCommandLine (commandLine), ports, out);
    return { status, out.str() };
}
} // namespace

TEST (CommandLineInfo, PrintsWhatIsAskedForAndEndsWithZero)
{
    VirtualMidiPortProvider ports;
    ports.addOutput ("Virtual Pedal");
    ports.addOutput ("Virtual Synth").vanish(); // gone: not listed
    ports.addOutput ("Virtual Synth 2");

    const auto list = runInfo ("--list-outputs", ports);
    EXPECT_EQ (list.status, 0);
    EXPECT_EQ (list.printed, "1\tVirtual Pedal\tvirtual-out-1\n2\tVirtual Synth 2\tvirtual-out-3\n");

    VirtualMidiPortProvider none;
    EXPECT_EQ (runInfo ("--LIST-OUTPUTS", none).printed, ""); // an empty list is no error
    EXPECT_EQ (runInfo ("--LIST-OUTPUTS", none).status, 0);

    const auto version = runInfo ("--version", ports);
    EXPECT_EQ (version.status, 0);
    EXPECT_EQ (version.printed, std::string ("Quillon ") + QUILLON_VERSION +
                                    "\nBuilt-in firmware: Halvane Chorus 1.0.03 - R1806\n");

    // --help wins over the others.
    const auto help = runInfo ("--version --help --list-outputs", ports);
    EXPECT_EQ (help.status, 0);
    EXPECT_EQ (help.printed, CommandLineInfo::getUsage().toStdString());
}

namespace
{
// The text with every run of blanks and line breaks as one blank: what survives re-flowing.
std::string flowed (const juce::String& text)
{
    auto words = juce::StringArray::fromTokens (text, " \n", "");
    words.removeEmptyStrings();
    return words.joinIntoString (" ").toStdString();
}
} // namespace

TEST (CommandLineInfo, UsageShowsEveryRowOfTheOptionTableAndEveryExitStatus)
{
    const auto usage = CommandLineInfo::getUsage();
    const auto text = flowed (usage);
    const auto lines = juce::StringArray::fromLines (usage);

    for (const auto& row : commandLineOptionTable)
    {
        SCOPED_TRACE (row.option);
        const auto name =
            (juce::String ("  ") + row.option + (*row.argument != '\0' ? " " : "") + row.argument);
        const bool startsALine = std::any_of (lines.begin(), lines.end(),
                                              [&name] (const juce::String& line)
                                              { return line == name || line.startsWith (name + " "); });
        EXPECT_TRUE (startsALine);
        EXPECT_NE (text.find (flowed (row.summary)), std::string::npos);
    }

    for (const auto* rule : commandLineOptionRules)
        EXPECT_NE (text.find (flowed (rule)), std::string::npos) << rule;

    // Facts a user looks for, whatever the table's wording becomes.
    for (const auto* fact :
         { "Wins over --outputid", "accepted and ignored", "not --outputid=2", "--file comes last" })
        EXPECT_NE (text.find (fact), std::string::npos) << fact;

    for (const auto status : allExitStatuses)
        EXPECT_NE (text.find (std::to_string (static_cast<int> (status)) + " " + describe (status)),
                   std::string::npos)
            << static_cast<int> (status);

    for (const auto& line : lines)
        EXPECT_LE (line.length(), 80) << line;
}

TEST (CommandLineInfo, OtherCommandLinesAskForTheWindow)
{
    VirtualMidiPortProvider ports;

    // After --file everything is the file's name.
    for (const auto* commandLine :
         { "", "--autoupdate --outputid 2", "--file fw --help.syx", "--helpme", "-h" })
    {
        SCOPED_TRACE (commandLine);
        const auto run = runInfo (commandLine, ports);
        EXPECT_FALSE (run.status.has_value());
        EXPECT_EQ (run.printed, "");
    }
}
