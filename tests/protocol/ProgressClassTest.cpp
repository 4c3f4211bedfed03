#include "ProtocolTestSupport.h"
#include "support/FunctionThread.h"

#include <gtest/gtest.h>

using namespace protocoltest;

namespace
{
struct RoundingCase
{
    double value;
    double stored;
};

void PrintTo (const RoundingCase& c, std::ostream* os)
{
    *os << juce::String (c.value, 17) << " -> " << c.stored;
}

class ProgressRounding : public ::testing::TestWithParam<RoundingCase>
{
};

} // namespace

TEST_P (ProgressRounding, StoresNearestHundredthWithTiesToEven)
{
    ProgressClass progress;
    progress.setProgress (GetParam().value);
    EXPECT_EQ (progress.getProgress(), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P (Table, ProgressRounding,
                          ::testing::Values (RoundingCase { 0.125, 0.12 }, // tie: 12 is even
                                             RoundingCase { 0.135, 0.14 }, // tie: 14 is even
                                             RoundingCase { 0.025, 0.02 }, RoundingCase { 0.005, 0.0 },
                                             RoundingCase { 1.0 / 3.0, 0.33 },
                                             RoundingCase { 2.0 / 3.0, 0.67 }, RoundingCase { 0.994, 0.99 },
                                             RoundingCase { 0.995, 1.0 }, RoundingCase { 199.0 / 200.0, 1.0 },
                                             RoundingCase { 1.0, 1.0 }));

TEST (ProgressClass, ProgressBroadcastIsSynchronousAndOnlyOnChange)
{
    EventLog log;
    ProgressClass progress;
    ProgressRecorder recorder (progress, log);

    progress.setProgress (0.0); // already 0.0
    EXPECT_EQ (recorder.callbacks(), 0);

    progress.setProgress (0.421);
    progress.setProgress (0.419); // the same hundredth
    EXPECT_EQ (recorder.callbacks(), 1);

    progress.setProgress (0.995);
    EXPECT_EQ (recorder.callbacks(), 2); // delivered before setProgress returned
    progress.setProgress (1.0);
    EXPECT_EQ (recorder.callbacks(), 2);

    juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
    EXPECT_EQ (recorder.callbacks(), 2);
    EXPECT_EQ (log.snapshot(), (std::vector<std::string> { "progress 0.42", "progress 1.00" }));
    EXPECT_FALSE (recorder.sawForeignSource());
    EXPECT_FALSE (recorder.sawUnlockedCallback());
}

namespace
{
// A progress, its listener, and a setProgress (0.5) on a juce::Thread of its own, so that the
// broadcast must cross threads.
struct ProgressSetOnAnotherThread
{
    EventLog log;
    ProgressClass progress;
    ProgressRecorder recorder { progress, log };
    FunctionThread writer { [this] (juce::Thread&)
                            {
                                progress.setProgress (0.5);
                            } };
};
} // namespace

TEST (ProgressClass, ProgressSetOnAnotherThreadIsBroadcastThereUnderTheMessageManagerLock)
{
    ProgressSetOnAnotherThread t;

    t.writer.startThread();
    ASSERT_TRUE (pumpUntil ([&] { return t.writer.finished.load(); }));

    EXPECT_EQ (t.log.snapshot(), (std::vector<std::string> { "progress 0.50" }));
    EXPECT_FALSE (t.recorder.sawUnlockedCallback());
}

TEST (ProgressClass, WriterAskedToStopWhileWaitingForTheLockStoresButDoesNotBroadcast)
{
    ProgressSetOnAnotherThread t;

    // This thread does not dispatch messages, so the writer cannot get the lock until told to stop.
    t.writer.startThread();
    juce::Thread::sleep (50);
    t.writer.signalThreadShouldExit();
    ASSERT_TRUE (t.writer.waitForThreadToExit (2000));

    EXPECT_EQ (t.progress.getProgress(), 0.5);
    juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
    EXPECT_EQ (t.recorder.callbacks(), 0);
}

TEST (ProgressClass, StatusTextsAreCoalescedIntoOneLaterNotification)
{
    EventLog log;
    ProgressClass progress;
    ProgressRecorder recorder (progress, log);

    progress.setStatusText ("first");
    progress.setStatusText ("second");
    EXPECT_EQ (recorder.callbacks(), 0); // asynchronous
    EXPECT_EQ (progress.getStatusText(), "second");

    ASSERT_TRUE (pumpUntil ([&] { return recorder.callbacks() > 0; }));
    juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
    EXPECT_EQ (recorder.callbacks(), 1);
    EXPECT_EQ (log.snapshot(), (std::vector<std::string> { "status second" }));

    progress.setStatusText ("second"); // unchanged
    progress.setStatusText ("SECOND"); // case matters
    progress.setStatusText ("second");
    juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
    EXPECT_EQ (recorder.callbacks(), 2);
}

TEST (ProgressClass, ChangeMessagesNameTheBroadcasterItselfByDefault)
{
    ProgressClass progress;
    EXPECT_EQ (progress.getChangedObject(), static_cast<void*> (&progress));
}
