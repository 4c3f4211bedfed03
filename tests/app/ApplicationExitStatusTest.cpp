// The exit status the application leaves for a script that runs it unattended, and the line it
// prints on stderr when that is not 0.
#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/ExitStatus.h"
#include "support/NeedsDisplay.h"
#include "support/ScopedAlertRecorder.h"
#include "support/TempFolder.h"
#include "support/VirtualMidiPortProvider.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{
class ApplicationExitStatus : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_DISPLAY();

        file.replaceWithData ("\xf0\x01\x02\xf7\xf0\x03\xf7", 7);
    }

    // Runs the application until it asks to quit (at most waitMs) or duringRun says so, shuts it
    // down and returns the exit status it leaves. duringRun is called on the message thread while
    // the application runs; returning true ends the run as a quit from outside would.
    int run (
        const juce::String& commandLine, int waitMs = 5000,
        const std::function<bool()>& duringRun = [] { return false; })
    {
        auto ports = std::make_unique<VirtualMidiPortProvider>();
        pedal = &ports->addOutput ("Virtual Pedal", pedalBytesPerSecond);

        if (configurePedal)
            configurePedal (*pedal);

        app = std::make_unique<Application> (parseCommandLine (commandLine), std::move (ports));

        testing::internal::CaptureStderr();
        app->initialise ({});

        auto* messageManager = juce::MessageManager::getInstance();
        const auto end = juce::Time::getMillisecondCounter() + static_cast<juce::uint32> (waitMs);

        while (!messageManager->hasStopMessageBeenSent() && juce::Time::getMillisecondCounter() < end)
        {
            messageManager->runDispatchLoopUntil (20);

            if (duringRun())
                break;
        }

        quitRequested = messageManager->hasStopMessageBeenSent();
        app->shutdown();
        received = pedal->getTotalBytes();
        // Only the application's own lines (Debug builds of JUCE print X errors there too).
        juce::StringArray lines;
        lines.addLines (juce::String (testing::internal::GetCapturedStderr()));
        lines.removeEmptyStrings();
        stderrText.clear();

        for (const auto& line : lines)
            if (line.startsWith ("Quillon: "))
                stderrText += line.toStdString() + "\n";

        return app->getApplicationReturnValue();
    }

    juce::String fileArgument() const { return " --file " + file.getFullPathName(); }

    const TempFolder temp;
    const juce::File file = temp.getFile ("image.syx");
    ScopedAlertRecorder alerts;
    std::unique_ptr<Application> app;
    VirtualMidiOutput* pedal = nullptr;
    double pedalBytesPerSecond = VirtualMidiOutput::instant;
    std::function<void (VirtualMidiOutput&)> configurePedal;
    bool quitRequested = false;
    size_t received = 0;
    std::string stderrText;
};
} // namespace

TEST_F (ApplicationExitStatus, ZeroAfterACompletedAutomaticUpdate)
{
    EXPECT_EQ (run ("--autoupdate --outputid 1" + fileArgument()), 0);
    EXPECT_TRUE (quitRequested);
    EXPECT_EQ (received, 7u);
    EXPECT_TRUE (alerts.alerts().empty());
    EXPECT_EQ (stderrText, "");
}

// An automatic update that cannot run stays open to show why; closed, it says why in its status.
TEST_F (ApplicationExitStatus, EachUpdateThatCouldNotRunHasAStatusOfItsOwn)
{
    const struct
    {
        const char* name;
        std::function<void (juce::File&)> prepareFile;
        const char* arguments;
        ExitStatus expected;
        const char* line;
    } cases[] = {
        { "no such output",
          {},
          "--autoupdate --outputid 2",
          ExitStatus::noSuchOutput,
          "Quillon: there is no MIDI output 2 (1 outputs); nothing was sent. Check that the pedal is "
          "connected "
          "and in its update mode (Help, steps 1 to 7), find its output with --list-outputs and run the "
          "command again.\n" },
        { "damaged image", [] (juce::File& f) { f.appendData ("\x42", 1); }, "--autoupdate --outputid 1",
          ExitStatus::imageUnusable,
          "Quillon: the firmware image is damaged; nothing was sent. Get a fresh copy of the firmware file "
          "and "
          "run the command again with it.\n" },
        { "empty file",
          [] (juce::File& f)
          {
              f.deleteFile();
              f.create();
          },
          "--autoupdate --outputid 1", ExitStatus::imageUnusable, nullptr },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        auto fileToUse = file;
        file.replaceWithData ("\xf0\x01\x02\xf7\xf0\x03\xf7", 7);

        if (c.prepareFile)
            c.prepareFile (fileToUse);

        EXPECT_EQ (run (c.arguments + fileArgument(), 500), static_cast<int> (c.expected));
        EXPECT_FALSE (quitRequested);
        EXPECT_EQ (received, 0u);

        if (c.line != nullptr)
            EXPECT_EQ (stderrText, c.line);
        else
            EXPECT_TRUE (juce::String (stderrText).startsWith ("Quillon: the firmware file ")) << stderrText;

        app = nullptr;
    }
}

TEST_F (ApplicationExitStatus, DeviceLostDuringTheUpdate)
{
    const auto image = std::string ("\xf0\x01\xf7") + std::string ("\xf0\x02\xf7") + "\xf0\x03\xf7";
    file.replaceWithData (image.data(), image.size());

    // Pulled as the second message goes out.
    configurePedal = [] (VirtualMidiOutput& output)
    {
        output.setObserver (
            [&output, seen = std::make_shared<int> (0)] (const juce::MidiMessage&)
            {
                if (++*seen == 2)
                    output.vanish();
            });
    };

    EXPECT_EQ (run ("--autoupdate --outputid 1" + fileArgument(), 1000),
               static_cast<int> (ExitStatus::deviceLost));
    EXPECT_EQ (received, 3u);
    EXPECT_FALSE (quitRequested); // the window stays open to say what happened
    // With what to do now: the pedal has part of the image.
    EXPECT_EQ (stderrText,
               "Quillon: the output device was disconnected during the update; it did not complete."
               " To repeat the update, start the pedal in its update mode again as described in Help,"
               " steps 1 to 7 and run the same command again.\n");
}

// Ctrl-C, SIGTERM, a lost X connection or a quit from the system all post a quit while the upload
// runs: it stops between two messages and never counts as completed.
TEST_F (ApplicationExitStatus, QuitDuringTheUpdateIsStopped)
{
    juce::MemoryBlock image;

    for (int m = 0; m < 50; ++m)
    {
        const juce::uint8 message[] = { 0xf0, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0xf7 };
        image.append (message, sizeof (message));
    }

    file.replaceWithData (image.getData(), image.getSize());
    pedalBytesPerSecond = 900.0; // 10 ms a message

    const auto status = run ("--autoupdate --outputid 1" + fileArgument(), 5000,
                             [this]
                             {
                                 if (pedal->getMessageCount() < 5)
                                     return false;

                                 juce::JUCEApplicationBase::quit();
                                 return true;
                             });

    EXPECT_EQ (status, static_cast<int> (ExitStatus::stopped));
    EXPECT_GT (received, 0u);
    EXPECT_LT (received, image.getSize());
    EXPECT_EQ (received % 9, 0u); // whole messages
    EXPECT_EQ (stderrText,
               "Quillon: the update was stopped before it completed. To repeat the update, start the "
               "pedal in its update mode again as described in Help, steps 1 to 7 and run the same "
               "command again.\n");
}

TEST_F (ApplicationExitStatus, ZeroInManualMode)
{
    EXPECT_EQ (run ("--file " + file.getFullPathName(), 500), 0);
    EXPECT_FALSE (quitRequested);
    EXPECT_EQ (stderrText, "");
}
