// The update without a window, on virtual MIDI outputs, from the command line to the bytes at the
// device, the exit status and what is printed.
#include "app/TerminalUpdate.h"
#include "app/UpdateAdvice.h"
#include "support/MessagePump.h"
#include "support/SysexImages.h"
#include "support/TempFolder.h"
#include "support/VirtualMidiPortProvider.h"

#include <gtest/gtest.h>

#include <sstream>

namespace
{
class TerminalUpdateTest : public ::testing::Test
{
protected:
    // A log, not a terminal: every progress line stays in the text.
    void makeUpdate (const juce::String& commandLine,
                     TerminalProgress::Style style = TerminalProgress::Style::logged)
    {
        update = std::make_unique<TerminalUpdate> (parseCommandLine (commandLine), ports, out, style);
        update->onFinished = [this] (ExitStatus status)
        {
            statuses.push_back (status);
        };
    }

    juce::String fileOption (const std::vector<juce::uint8>& bytes)
    {
        return " --file " + temp.write ("fw.syx", bytes).getFullPathName();
    }

    bool finished() const { return !statuses.empty(); }

    TempFolder temp;
    VirtualMidiPortProvider ports;
    VirtualMidiOutput& synth = ports.addOutput ("Synth");
    VirtualMidiOutput& pedal = ports.addOutput ("USB MIDI Pedal");
    std::ostringstream out;
    std::vector<ExitStatus> statuses;
    std::unique_ptr<TerminalUpdate> update;
};
} // namespace

TEST_F (TerminalUpdateTest, SendsTheFileToTheOutputByNameAndEndsWithStatus0)
{
    const auto image = makeSysexImage ({ 10, 300, 7, 44 });
    makeUpdate ("--no-window --output pedal" + fileOption (image));
    update->start();

    ASSERT_TRUE (pumpUntil ([this] { return finished(); }));
    EXPECT_EQ (statuses, std::vector<ExitStatus> { ExitStatus::completed });
    EXPECT_EQ (pedal.getBytes(), image);
    EXPECT_EQ (synth.getTotalBytes(), 0u);

    const auto text = juce::String (out.str());
    EXPECT_TRUE (text.contains ("100%  361 of 361 bytes  4 of 4 messages  0:00 left\n")) << out.str();
    EXPECT_TRUE (text.endsWith ("\nQuillon: the update completed\n")) << out.str();
}

namespace
{
// The last line ends with the same next step the window's advice gives.
juce::String nextStep (UpdateProblem problem, bool partSent)
{
    return ". " + adviceFor (problem, partSent).sentence + "\n";
}
} // namespace

TEST_F (TerminalUpdateTest, TheBuiltInImageWithoutFileByNumber)
{
    makeUpdate ("--no-window --outputid 2", TerminalProgress::Style::quiet);
    update->start();

    ASSERT_TRUE (pumpUntil ([this] { return finished(); }));
    EXPECT_EQ (statuses, std::vector<ExitStatus> { ExitStatus::completed });
    EXPECT_EQ (pedal.getBytes(), builtInImageBytes());
    EXPECT_EQ (out.str(), ""); // quiet, and it went well
}

// What cannot start ends at once, with the panel's status and line, and sends nothing.
TEST_F (TerminalUpdateTest, UpdateThatCannotStartEndsAtOnceAndSendsNothing)
{
    const auto missing = temp.getFile ("missing.syx").getFullPathName();
    const struct
    {
        juce::String commandLine;
        ExitStatus status;
        juce::String line;
    } cases[] = {
        { "--no-window --output pedal --file " + missing, ExitStatus::imageUnusable,
          "Quillon: the firmware file " + missing + " could not be found; nothing was sent" +
              nextStep (UpdateProblem::fileNotLoaded, false) },
        { "--no-window --output Drum", ExitStatus::noSuchOutput,
          "Quillon: no MIDI output is named \"Drum\" (outputs: \"Synth\", \"USB MIDI Pedal\"); nothing was "
          "sent" +
              nextStep (UpdateProblem::outputNotOpened, false) },
        { "--no-window --outputid 3", ExitStatus::noSuchOutput,
          "Quillon: there is no MIDI output 3 (2 outputs); nothing was sent" +
              nextStep (UpdateProblem::outputNotOpened, false) },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.commandLine);
        out.str ({});
        statuses.clear();
        makeUpdate (c.commandLine);
        update->start();

        EXPECT_EQ (statuses, std::vector<ExitStatus> { c.status });
        EXPECT_EQ (juce::String (out.str()), c.line);
        update = nullptr;
    }

    EXPECT_EQ (pedal.getTotalBytes() + synth.getTotalBytes(), 0u);
}

TEST_F (TerminalUpdateTest, DamagedImageSendsNothingAndGivesStatus2)
{
    auto image = makeSysexImage ({ 10, 20 });
    image.pop_back();
    makeUpdate ("--no-window --output pedal" + fileOption (image));
    update->start();

    ASSERT_TRUE (pumpUntil ([this] { return finished(); }));
    EXPECT_EQ (statuses, std::vector<ExitStatus> { ExitStatus::imageUnusable });
    EXPECT_EQ (pedal.getTotalBytes(), 0u);
    EXPECT_EQ (juce::String (out.str()), "Quillon: the firmware image is damaged; nothing was sent" +
                                             nextStep (UpdateProblem::damagedImage, false));
}

TEST_F (TerminalUpdateTest, DeviceLostMidUpdateGivesStatus4)
{
    pedal.setBytesPerSecond (VirtualMidiOutput::midiWireRate);
    makeUpdate ("--no-window --output pedal" + fileOption (makeSysexImage (20, 100)));
    update->start();

    ASSERT_TRUE (pumpUntil ([this] { return pedal.getMessageCount() >= 2; }));
    pedal.vanish();
    ASSERT_TRUE (pumpUntil ([this] { return finished(); }));

    EXPECT_EQ (statuses, std::vector<ExitStatus> { ExitStatus::deviceLost });
    EXPECT_LT (pedal.getMessageCount(), 20u);
    EXPECT_TRUE (juce::String (out.str()).endsWith (
        "\nQuillon: the output device was disconnected during the update; it did not complete" +
        nextStep (UpdateProblem::deviceLost, true)))
        << out.str();
}

// A quit (Ctrl-C, SIGTERM, SIGHUP) stops the upload between two messages: whole messages only,
// status 1, the final line once.
TEST_F (TerminalUpdateTest, StopEndsBetweenTwoMessagesWithStatus1)
{
    const auto image = makeSysexImage (20, 100);
    pedal.setBytesPerSecond (VirtualMidiOutput::midiWireRate);
    makeUpdate ("--no-window --output pedal" + fileOption (image));
    update->start();

    ASSERT_TRUE (pumpUntil ([this] { return pedal.getMessageCount() >= 2; }));
    update->stop (5000);
    update->stop (5000);

    EXPECT_EQ (statuses, std::vector<ExitStatus> { ExitStatus::stopped });
    EXPECT_TRUE (update->hasFinished());
    const auto received = pedal.getMessages();
    ASSERT_LT (received.size(), 20u);
    EXPECT_EQ (pedal.getBytes(),
               std::vector<juce::uint8> (
                   image.begin(), image.begin() + static_cast<std::ptrdiff_t> (100 * received.size())));
    EXPECT_TRUE (juce::String (out.str()).endsWith ("\nQuillon: the update was stopped before it completed" +
                                                    nextStep (UpdateProblem::stopped, true)))
        << out.str();
}
