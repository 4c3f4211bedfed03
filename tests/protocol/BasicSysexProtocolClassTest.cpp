#include "protocol/BasicSysexProtocolClass.h"
#include "ProtocolTestSupport.h"
#include "interface/MidiInterfaceClass.h"
#include "support/VirtualMidiPortProvider.h"

#include <gtest/gtest.h>

using namespace protocoltest;

namespace
{
using Bytes = std::vector<juce::uint8>;
using Events = std::vector<std::string>;

// The protocol on the MIDI interface with one virtual output, "Pedal", selected and open.
class Upload : public ::testing::Test
{
protected:
    void SetUp() override
    {
        midiInterface.selectOutput (1);
        juce::MessageManager::getInstance()->runDispatchLoopUntil (10);
        ASSERT_TRUE (midiInterface.isDeviceReady());
    }

    void TearDown() override
    {
        pedal.setObserver (nullptr);

        if (protocol != nullptr)
            protocol->removeUploadListener (&outcomes);

        recorder.reset();
        protocol.reset();
    }

    void load (Bytes bytes)
    {
        imageBytes = bytes;
        image = std::make_unique<TestFirmwareImage> (std::move (bytes));
        protocol = std::make_unique<BasicSysexProtocolClass> (&midiInterface, image.get());
        recorder = std::make_unique<ProgressRecorder> (*protocol, log);
        protocol->addUploadListener (&outcomes);
    }

    // Notes each outcome the protocol reports ("outcome N"), and whether it came on the message
    // thread.
    struct OutcomeRecorder final : ProtocolBaseClass::Listener
    {
        explicit OutcomeRecorder (EventLog& logToUse) : log (logToUse) {}

        void uploadFinished (UploadOutcome outcome) override
        {
            log.add ("outcome " + std::to_string (static_cast<int> (outcome)));
            offMessageThread = offMessageThread || !juce::MessageManager::existsAndIsCurrentThread();
        }

        EventLog& log;
        bool offMessageThread = false;
    };

    static std::string outcomeEvent (UploadOutcome outcome)
    {
        return "outcome " + std::to_string (static_cast<int> (outcome));
    }

    // Pumps the message loop until the thread has ended and its last status has been delivered.
    bool waitForEnd (const std::string& finalStatus)
    {
        return pumpUntil (
            [&] { return !protocol->isThreadRunning() && log.count ("status " + finalStatus) > 0; });
    }

    EventLog log;
    OutcomeRecorder outcomes { log };
    VirtualMidiPortProvider ports;
    VirtualMidiOutput& pedal = ports.addOutput ("Pedal");
    MidiInterfaceClass midiInterface { true, false, ports };
    SendRecorder sends { pedal, log };
    EnablementRecorder enablement { midiInterface, log };
    Bytes imageBytes;
    std::unique_ptr<TestFirmwareImage> image;
    std::unique_ptr<BasicSysexProtocolClass> protocol;
    std::unique_ptr<ProgressRecorder> recorder;
};

const std::string uploading = BasicSysexProtocolClass::uploadingText;
const std::string completed = BasicSysexProtocolClass::completedText;
const std::string damaged = BasicSysexProtocolClass::damagedImageText;
} // namespace

TEST_F (Upload, SendsEachMessageWholeAndPublishesTheFractionSent)
{
    load (makeSysexImage ({ 10, 20, 70 }));
    protocol->startUpload();
    ASSERT_TRUE (waitForEnd (completed));

    EXPECT_EQ (pedal.getMessages(), splitSysexMessages (imageBytes));
    EXPECT_EQ (log.select ({ "status", "progress" }),
               (Events { "status " + uploading, "progress 0.10", "progress 0.30", "progress 1.00",
                         "status " + completed }));
    EXPECT_EQ (log.select ({ "send", "progress" }), (Events { "send 10", "progress 0.10", "send 20",
                                                              "progress 0.30", "send 70", "progress 1.00" }));

    // Disabled before the first message, enabled after the last.
    const auto enablementEvents = log.select ({ "enabled", "disabled", "send" });
    EXPECT_EQ (enablementEvents.front(), "disabled");
    EXPECT_EQ (enablementEvents.back(), "enabled");
    EXPECT_TRUE (midiInterface.isEnabled());

    // Progress broadcasts ran under the message-manager lock and named the protocol.
    EXPECT_FALSE (recorder->sawUnlockedCallback());
    EXPECT_FALSE (recorder->sawForeignSource());
    EXPECT_EQ (protocol->getChangedObject(), static_cast<void*> (protocol.get()));
}

TEST_F (Upload, ImageOfOneMessageIsSentInOnePiece)
{
    load (makeSysexImage ({ 9 }));
    protocol->startUpload();
    ASSERT_TRUE (waitForEnd (completed));

    EXPECT_EQ (pedal.getMessages(), splitSysexMessages (imageBytes));
    EXPECT_EQ (log.select ({ "progress" }), (Events { "progress 1.00" }));
}

TEST_F (Upload, FullProgressArrivesAt99Point5PercentAndCompletionOnlyAfterTheLastMessage)
{
    load (makeSysexImage (std::vector<int> (200, 12)));
    protocol->startUpload();
    ASSERT_TRUE (waitForEnd (completed));

    const auto events = log.select ({ "send", "progress", "status " + completed });
    const auto full = std::find (events.begin(), events.end(), "progress 1.00");
    ASSERT_NE (full, events.end());
    EXPECT_EQ (std::count (events.begin(), full, "send 12"), 199);
    EXPECT_EQ (events.back(), "status " + completed);
    EXPECT_EQ (std::count (full, events.end(), "send 12"), 1);

    // One broadcast per hundredth at most, always rising.
    const auto progress = log.select ({ "progress" });
    EXPECT_EQ (progress.size(), 100u);
    EXPECT_TRUE (std::is_sorted (progress.begin(), progress.end()));
}

TEST_F (Upload, StartWhileRunningChangesNothingAndAfterTheEndStartsAgainFromTheFirstByte)
{
    load (makeSysexImage ({ 10, 10, 10, 10, 10 }));
    sends.allowSends (2);
    protocol->startUpload();
    ASSERT_TRUE (sends.waitForSendsBegun (3)); // the third send is held

    protocol->startUpload();
    EXPECT_TRUE (protocol->isThreadRunning());
    EXPECT_EQ (protocol->getProgress(), 0.4);

    sends.allowSends (-1);
    ASSERT_TRUE (waitForEnd (completed));
    EXPECT_EQ (pedal.getMessages(), splitSysexMessages (imageBytes));
    EXPECT_EQ (log.select ({ "progress" }), (Events { "progress 0.20", "progress 0.40", "progress 0.60",
                                                      "progress 0.80", "progress 1.00" }));

    protocol->startUpload();
    EXPECT_EQ (log.select ({ "progress" }).back(), "progress 0.00"); // reset before the thread runs
    ASSERT_TRUE (pumpUntil ([&] { return sends.getSendsBegun() == 10 && !protocol->isThreadRunning(); }));

    const auto once = splitSysexMessages (imageBytes);
    auto twice = once;
    twice.insert (twice.end(), once.begin(), once.end());
    EXPECT_EQ (pedal.getMessages(), twice);
    EXPECT_EQ (protocol->getProgress(), 1.0);
}

TEST_F (Upload, DestroyingTheProtocolEndsTheUploadAfterTheMessageInProgress)
{
    load (makeSysexImage (std::vector<int> (20, 100)));
    pedal.setBytesPerSecond (1000.0); // 100 ms a message
    protocol->startUpload();
    ASSERT_TRUE (sends.waitForSendsBegun (3));

    recorder->forgetWatchedObject(); // still listening while the protocol goes
    protocol->removeUploadListener (&outcomes);
    protocol.reset(); // a thread still running after 2000 ms would be killed, with an assertion

    const int begun = sends.getSendsBegun();
    EXPECT_LT (begun, 20);
    EXPECT_EQ (pedal.getMessages().size(), static_cast<size_t> (begun)); // the last one finished whole
    EXPECT_EQ (log.count ("status " + completed), 0u);
    EXPECT_FALSE (midiInterface.isEnabled());
}

TEST_F (Upload, DestroyingTheProtocolWhileItWaitsForTheMessageManagerLockSendsNothing)
{
    load (makeSysexImage ({ 10, 20 }));
    protocol->startUpload();
    // No dispatching here, so the thread waits for the lock to disable the interface.
    juce::Thread::sleep (50);

    recorder->forgetWatchedObject();
    protocol->removeUploadListener (&outcomes);
    protocol.reset();

    EXPECT_EQ (sends.getSendsBegun(), 0);
}

TEST_F (Upload, ReportsTheOutcomeOnceOnTheMessageThreadAfterEnablingTheInterfaceAndNeverQuits)
{
    QuitRecorderApplication application (log);
    load (makeSysexImage ({ 10, 20 }));
    enablement.onChange = [&] (bool enabled)
    {
        if (enabled)
            log.add ("status when enabled: " + protocol->getStatusText().toStdString());
    };
    protocol->startUpload();
    ASSERT_TRUE (waitForEnd (completed));
    ASSERT_TRUE (pumpUntil ([&] { return log.count (outcomeEvent (UploadOutcome::completed)) > 0; }));
    juce::MessageManager::getInstance()->runDispatchLoopUntil (20);

    EXPECT_EQ (log.select ({ "send", "enabled", "status when", "outcome", "quit" }),
               (Events { "send 10", "send 20", "enabled", "status when enabled: " + completed,
                         outcomeEvent (UploadOutcome::completed) }));
    EXPECT_FALSE (outcomes.offMessageThread);
    EXPECT_EQ (protocol->getOutcome(), UploadOutcome::completed);

    // A new start forgets the outcome until the new upload has one.
    sends.allowSends (0);
    protocol->startUpload();
    EXPECT_EQ (protocol->getOutcome(), UploadOutcome::none);
    sends.allowSends (-1);
    ASSERT_TRUE (pumpUntil ([&] { return log.count (outcomeEvent (UploadOutcome::completed)) == 2; }));
}

// How an upload ends is decided from what happened to the bytes and the device.
TEST_F (Upload, DeviceThatGoesAwayIsNeverReportedAsUpdated)
{
    // The device is pulled while message k is on its way (k = 3: the last one).
    for (const int k : { 1, 2, 3 })
    {
        SCOPED_TRACE (k);
        pedal.clearReceived();
        pedal.reappear();
        midiInterface.refreshDevices();
        midiInterface.selectOutput (1);
        ASSERT_TRUE (midiInterface.isDeviceReady());

        load (makeSysexImage ({ 10, 20, 30 }));
        pedal.setObserver (
            [&, seen = std::make_shared<int> (0)] (const juce::MidiMessage&)
            {
                if (++*seen == k)
                    pedal.vanish();
            });
        protocol->startUpload();
        ASSERT_TRUE (waitForEnd (BasicSysexProtocolClass::deviceLostText));
        ASSERT_TRUE (
            pumpUntil ([&] { return log.count (outcomeEvent (UploadOutcome::deviceLost)) == (size_t)k; }));

        EXPECT_EQ (protocol->getOutcome(), UploadOutcome::deviceLost);
        EXPECT_EQ (pedal.getMessageCount(), static_cast<size_t> (k - 1)); // nothing after the pull
        EXPECT_LT (protocol->getProgress(), 1.0);
        EXPECT_FALSE (midiInterface.isDeviceReady());
        EXPECT_TRUE (midiInterface.isEnabled());
        pedal.setObserver (nullptr);
        recorder.reset();
        protocol->removeUploadListener (&outcomes);
        protocol.reset();
    }

    EXPECT_EQ (log.count ("status " + completed), 0u);
}

TEST_F (Upload, StopRequestEndsBetweenMessagesWithoutCompletion)
{
    load (makeSysexImage ({ 10, 20, 30, 40 }));
    sends.allowSends (2);
    protocol->startUpload();
    ASSERT_TRUE (sends.waitForSendsBegun (3)); // the third send is held

    protocol->signalThreadShouldExit();
    sends.allowSends (-1);
    ASSERT_TRUE (protocol->waitForThreadToExit (5000));
    juce::MessageManager::getInstance()->runDispatchLoopUntil (50);

    EXPECT_EQ (protocol->getOutcome(), UploadOutcome::stopped);
    const auto all = splitSysexMessages (imageBytes);
    EXPECT_EQ (pedal.getMessages(), std::vector<Bytes> (all.begin(), all.begin() + 3));
    EXPECT_EQ (protocol->getStatusText().toStdString(), uploading);
    EXPECT_FALSE (midiInterface.isEnabled());
    EXPECT_EQ (log.count (outcomeEvent (UploadOutcome::stopped)), 1u);
}

// Once a quit has been posted JUCE refuses the message-manager lock; the thread has not been asked
// to stop, but the upload must not run on or call itself completed.
TEST_F (Upload, RefusedLockAfterAQuitEndsTheUploadAsStopped)
{
    load (makeSysexImage ({ 10, 20, 30, 40 }));
    sends.allowSends (1);
    protocol->startUpload();
    ASSERT_TRUE (sends.waitForSendsBegun (2)); // the second send is held

    juce::MessageManager::getInstance()->stopDispatchLoop(); // what a quit request does
    sends.allowSends (-1);
    ASSERT_TRUE (protocol->waitForThreadToExit (5000));

    EXPECT_EQ (protocol->getOutcome(), UploadOutcome::stopped);
    EXPECT_EQ (pedal.getMessageCount(), 2u);
    EXPECT_NE (protocol->getStatusText().toStdString(), completed);
}

TEST_F (Upload, NoOpenOutputSendsNothingAndSaysSo)
{
    midiInterface.selectOutput (2); // "(Disconnected)"
    ASSERT_FALSE (midiInterface.isDeviceReady());
    load (makeSysexImage ({ 10, 20 }));

    protocol->startUpload();
    ASSERT_TRUE (waitForEnd (BasicSysexProtocolClass::noDeviceText));
    EXPECT_EQ (protocol->getOutcome(), UploadOutcome::noDevice);
    EXPECT_EQ (sends.getSendsBegun(), 0);
    EXPECT_TRUE (midiInterface.isEnabled());
}

namespace
{
class DamagedUpload : public Upload, public ::testing::WithParamInterface<DamagedCase>
{
};

Bytes withoutLastByte (Bytes bytes)
{
    bytes.pop_back();
    return bytes;
}

Bytes withByteAt (Bytes bytes, size_t index, juce::uint8 value)
{
    bytes.insert (bytes.begin() + static_cast<std::ptrdiff_t> (index), value);
    return bytes;
}
} // namespace

TEST_P (DamagedUpload, SendsNothingAndSaysSo)
{
    load (GetParam().bytes);
    midiInterface.setEnabled (false);

    protocol->startUpload();
    ASSERT_TRUE (waitForEnd (damaged));

    EXPECT_EQ (sends.getSendsBegun(), 0);
    EXPECT_EQ (protocol->getProgress(), 0.0);
    EXPECT_EQ (log.select ({ "progress", "status" }), (Events { "status " + damaged }));
    EXPECT_TRUE (midiInterface.isEnabled());
    EXPECT_EQ (protocol->getOutcome(), UploadOutcome::damagedImage);

    // Still damaged on a second attempt; nothing hangs.
    protocol->startUpload();
    ASSERT_TRUE (pumpUntil ([&] { return !protocol->isThreadRunning(); }));
    EXPECT_EQ (sends.getSendsBegun(), 0);
}

INSTANTIATE_TEST_SUITE_P (
    Table, DamagedUpload,
    ::testing::Values (
        DamagedCase { "StrayByteBetweenMessages", withByteAt (makeSysexImage ({ 10, 20 }), 10, 0x00) },
        DamagedCase { "TrailingBytes", withByteAt (makeSysexImage ({ 10, 20 }), 30, 0x00) },
        DamagedCase { "LastMessageWithoutEnd", withoutLastByte (makeSysexImage ({ 10, 20 })) },
        DamagedCase { "StartByteInsideMessage", withByteAt (makeSysexImage ({ 10, 20 }), 15, 0xF0) },
        DamagedCase { "FirstByteNotStart", withByteAt (makeSysexImage ({ 10, 20 }), 0, 0x00) },
        DamagedCase { "HighDataByte", withByteAt (makeSysexImage ({ 10, 20 }), 5, 0x90) },
        DamagedCase { "Empty", Bytes {} }),
    [] (const auto& testCase) { return std::string (testCase.param.name); });

namespace
{
// An interface that only notes the upload thread's calls ("start N", "wait", each with the
// interface's state, and "check"). Each device check answers from a list (true once the list is
// used up), and then enables the interface, as something else might do between two messages. The
// wait numbered stopAtWait (from 1) asks the upload thread to stop, as closing the window would. It
// is on no window and only the upload thread changes or reads its state, so it takes no lock.
class WireInterface final : public InterfaceBaseClass
{
public:
    explicit WireInterface (EventLog& logToUse) : log (logToUse) {}

    void resized() override {}
    int readData (juce::uint8*, unsigned int) override { return 0; }
    int sendSysex (const juce::uint8*, int) override
    {
        ADD_FAILURE() << "the upload sends in two halves";
        return 0;
    }
    void startSysex (const juce::uint8*, int size) override
    {
        log.add ("start " + std::to_string (size) + state());
    }
    void waitForSysex() override
    {
        log.add ("wait" + state());

        if (++waits == stopAtWait && uploadThread != nullptr)
            uploadThread->signalThreadShouldExit();
    }
    bool isDeviceReady() override { return true; }
    bool checkDeviceConnected() override
    {
        log.add ("check");
        const auto connected = answers.empty() || answers.front();

        if (!answers.empty())
            answers.erase (answers.begin());

        setEnabled (true);
        return connected;
    }
    int getPreferredHeight() override { return 50; }
    void selectOutput (int) override {}
    void selectInput (int) override {}

    std::vector<bool> answers;
    int stopAtWait = 0;
    juce::Thread* uploadThread = nullptr;

private:
    std::string state() const { return isEnabled() ? " (enabled)" : " (disabled)"; }

    EventLog& log;
    int waits = 0;
};

// Notes the messages counted as sent ("position N") whenever the broadcast progress changes: the
// two are published together, so each new progress comes with the message that made it.
class PositionAtProgress final : public juce::ChangeListener
{
public:
    PositionAtProgress (BasicSysexProtocolClass& toWatch, EventLog& logToUse)
        : watched (toWatch), log (logToUse)
    {
        watched.addChangeListener (this);
    }
    ~PositionAtProgress() override { watched.removeChangeListener (this); }

    void changeListenerCallback (juce::ChangeBroadcaster*) override
    {
        const auto progress = watched.getProgress();

        if (progress != lastProgress)
            log.add ("position " + std::to_string (watched.getPosition().messagesSent));

        lastProgress = progress;
    }

private:
    BasicSysexProtocolClass& watched;
    EventLog& log;
    double lastProgress = 0.0;
};
} // namespace

// What the thread does after a message, it does while the device takes that message: the check,
// the progress and the lock that disables the interface again for the next one all come between
// handing the message over and waiting for its wire time, so none of them holds the next message
// back. After the last message the thread waits for its wire time before the last check, and only
// then shows 1.0; a device that fails its check stops the upload before the next message. The
// pause after the last message comes before that check: a stop during it ends the upload unchecked.
TEST (UploadOnTheWire, StepsBetweenMessagesRunWhileTheWireCarriesTheMessage)
{
    struct Case
    {
        const char* name;
        std::vector<bool> checks;
        int pauseMs;
        int stopAtWait;
        std::vector<std::string> events;
        UploadOutcome outcome;
    };

    const Case cases[] = {
        { "all there",
          {},
          0,
          0,
          { "disabled", "start 10 (disabled)", "check", "enabled", "progress 0.10", "disabled",
            "wait (disabled)", "start 20 (disabled)", "check", "enabled", "progress 0.30", "disabled",
            "wait (disabled)", "start 70 (disabled)", "wait (disabled)", "check", "enabled",
            "progress 1.00" },
          UploadOutcome::completed },
        { "gone after the first",
          { false },
          0,
          0,
          { "disabled", "start 10 (disabled)", "check", "enabled", "wait (enabled)" },
          UploadOutcome::deviceLost },
        { "gone after the last",
          { true, true, false },
          0,
          0,
          { "disabled", "start 10 (disabled)", "check", "enabled", "progress 0.10", "disabled",
            "wait (disabled)", "start 20 (disabled)", "check", "enabled", "progress 0.30", "disabled",
            "wait (disabled)", "start 70 (disabled)", "wait (disabled)", "check", "enabled" },
          UploadOutcome::deviceLost },
        { "stopped in the last pause",
          {},
          20,
          3,
          { "disabled", "start 10 (disabled)", "check", "enabled", "progress 0.10", "disabled",
            "wait (disabled)", "start 20 (disabled)", "check", "enabled", "progress 0.30", "disabled",
            "wait (disabled)", "start 70 (disabled)", "wait (disabled)" },
          UploadOutcome::stopped },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        EventLog log;
        WireInterface wire (log);
        wire.answers = c.checks;
        EnablementRecorder enablement (wire, log);
        TestFirmwareImage image (makeSysexImage ({ 10, 20, 70 }));
        BasicSysexProtocolClass protocol (&wire, &image);
        protocol.setPauseAfterEachMessage (std::chrono::milliseconds (c.pauseMs));
        wire.stopAtWait = c.stopAtWait;
        wire.uploadThread = &protocol;
        ProgressRecorder recorder (protocol, log);
        PositionAtProgress positions (protocol, log);

        protocol.startUpload();
        ASSERT_TRUE (pumpUntil ([&] { return !protocol.isThreadRunning(); }));

        EXPECT_EQ (log.select ({ "start", "wait", "check", "progress", "disabled", "enabled" }), c.events);
        EXPECT_EQ (protocol.getOutcome(), c.outcome);

        std::vector<std::string> positionsShown;

        for (const auto& event : c.events)
            if (event.rfind ("progress ", 0) == 0)
                positionsShown.push_back ("position " + std::to_string (positionsShown.size() + 1));

        EXPECT_EQ (log.select ({ "position" }), positionsShown);
    }
}

TEST_F (Upload, PositionCountsWholeMessagesSentOfTheImage)
{
    load (makeSysexImage ({ 10, 20, 30, 40 }));
    sends.allowSends (2);
    protocol->startUpload();
    ASSERT_TRUE (sends.waitForSendsBegun (3)); // the third send is held

    EXPECT_EQ (protocol->getPosition(), (UploadPosition { 30, 100, 2, 4 }));

    sends.allowSends (-1);
    ASSERT_TRUE (waitForEnd (completed));
    EXPECT_EQ (protocol->getPosition(), (UploadPosition { 100, 100, 4, 4 }));
}

TEST_F (Upload, PauseFollowsEveryMessageAndAStopCutsItShort)
{
    using namespace std::chrono;
    load (makeSysexImage ({ 10, 20, 30 }));

    // Every message, the last one too, is followed by at least the pause: three pauses fit between
    // the start and the end.
    protocol->setPauseAfterEachMessage (milliseconds (200));
    const auto started = steady_clock::now();
    protocol->startUpload();
    ASSERT_TRUE (waitForEnd (completed));
    EXPECT_GE (steady_clock::now() - started, milliseconds (600));
    EXPECT_EQ (pedal.getMessages(), splitSysexMessages (imageBytes));

    // A stop during a long pause ends the upload without waiting for it, and sends nothing more.
    protocol->setPauseAfterEachMessage (milliseconds (5000));
    protocol->startUpload();
    ASSERT_TRUE (sends.waitForSendsBegun (4));
    protocol->signalThreadShouldExit();
    EXPECT_TRUE (protocol->waitForThreadToExit (2000));
    EXPECT_EQ (protocol->getOutcome(), UploadOutcome::stopped);
    EXPECT_EQ (pedal.getMessages().size(), 4u); // three from the first upload, one from this
}
