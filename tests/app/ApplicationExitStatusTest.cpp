// The exit status the application leaves for a script that runs it unattended.
#include "app/Application.h"
#include "support/ScopedAlertRecorder.h"
#include "support/VirtualMidiPortProvider.h"

#include <gtest/gtest.h>

namespace
{
class ApplicationExitStatus : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() == nullptr)
            GTEST_SKIP() << "needs a display (the suite runs under xvfb-run)";

        file.replaceWithData ("\xf0\x01\x02\xf7\xf0\x03\xf7", 7);
    }

    void TearDown() override { file.deleteFile(); }

    // Runs the application until it asks to quit (at most waitMs), shuts it down and returns the
    // exit status it leaves.
    int run (const juce::String& commandLine, int waitMs = 5000)
    {
        auto ports = std::make_unique<VirtualMidiPortProvider>();
        pedal = &ports->addOutput ("Virtual Pedal");
        app = std::make_unique<Application> (commandLine, std::move (ports));
        app->initialise ({});

        auto* messageManager = juce::MessageManager::getInstance();
        const auto end = juce::Time::getMillisecondCounter() + static_cast<juce::uint32> (waitMs);

        while (!messageManager->hasStopMessageBeenSent() && juce::Time::getMillisecondCounter() < end)
            messageManager->runDispatchLoopUntil (20);

        quitRequested = messageManager->hasStopMessageBeenSent();
        received = pedal->getTotalBytes();
        app->shutdown();
        return app->getApplicationReturnValue();
    }

    const juce::File file = juce::File::getSpecialLocation (juce::File::tempDirectory)
                                .getNonexistentChildFile ("quillon-exit-" + juce::Uuid().toString(), ".syx");
    ScopedAlertRecorder alerts;
    std::unique_ptr<Application> app;
    VirtualMidiOutput* pedal = nullptr;
    bool quitRequested = false;
    size_t received = 0;
};
} // namespace

TEST_F (ApplicationExitStatus, ZeroAfterACompletedAutomaticUpdate)
{
    EXPECT_EQ (run ("--autoupdate --outputid 1 --file " + file.getFullPathName()), 0);
    EXPECT_TRUE (quitRequested);
    EXPECT_EQ (received, 7u);
    EXPECT_TRUE (alerts.alerts().empty());
}

TEST_F (ApplicationExitStatus, NonZeroWhenAnAutomaticUpdateCouldNotRun)
{
    // Output 2 does not exist: the warning is shown, the window stays open until closed.
    EXPECT_EQ (run ("--autoupdate --outputid 2 --file " + file.getFullPathName(), 500), 1);
    EXPECT_FALSE (quitRequested);
    EXPECT_EQ (received, 0u);
    EXPECT_EQ (alerts.alerts().size(), 1u);
}

TEST_F (ApplicationExitStatus, NonZeroWhenTheNamedFileHoldsNoImage)
{
    // The built-in image is not sent in its place; the window stays open until closed.
    ASSERT_TRUE (file.deleteFile() && file.create().wasOk());
    ASSERT_EQ (file.getSize(), 0);
    EXPECT_EQ (run ("--autoupdate --outputid 1 --file " + file.getFullPathName(), 500), 1);
    EXPECT_FALSE (quitRequested);
    EXPECT_EQ (received, 0u);
}

TEST_F (ApplicationExitStatus, ZeroInManualMode)
{
    EXPECT_EQ (run ("--file " + file.getFullPathName(), 500), 0);
    EXPECT_FALSE (quitRequested);
}
