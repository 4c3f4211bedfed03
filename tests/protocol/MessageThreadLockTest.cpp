#include "protocol/MessageThreadLock.h"
#include "support/MessagePump.h"

#include <gtest/gtest.h>

#include <atomic>

namespace
{
// Takes and releases the lock `rounds` times, counting the rounds it was granted.
class LockTaker final : public juce::Thread
{
public:
    LockTaker (MessageThreadLock& lockToUse, int roundsToRun)
        : juce::Thread ("Lock taker"), lock (lockToUse), rounds (roundsToRun)
    {
    }

    ~LockTaker() override { stopThread (5000); }

    void run() override
    {
        for (int i = 0; i < rounds; ++i)
        {
            if (!lock.enter (this))
                break;

            ++granted;
            lock.exit();
        }

        finished = true;
    }

    MessageThreadLock& lock;
    const int rounds;
    std::atomic<int> granted { 0 };
    std::atomic<bool> finished { false };
};
} // namespace

// One lock object for every message of an upload: the message thread's late signals meet a live
// event (with a lock on the worker's stack, ThreadSanitizer reports JUCE writing into that stack).
TEST (MessageThreadLock, GrantedAgainAndAgainWhileTheMessageThreadRuns)
{
    MessageThreadLock lock;
    LockTaker taker (lock, 500);
    taker.startThread();

    ASSERT_TRUE (pumpUntil ([&] { return taker.finished.load(); }));
    EXPECT_EQ (taker.granted.load(), 500);
}

// The message thread is busy (it does not dispatch) and asks the worker to stop: the worker gives
// up instead of waiting for ever.
TEST (MessageThreadLock, GivesUpWhenTheWorkerIsAskedToStop)
{
    MessageThreadLock lock;
    LockTaker taker (lock, 1);
    taker.startThread();
    juce::Thread::sleep (50); // the worker is waiting by now (or soon): both ways it must give up

    taker.signalThreadShouldExit();
    ASSERT_TRUE (taker.waitForThreadToExit (5000));
    EXPECT_TRUE (taker.finished.load());
    EXPECT_EQ (taker.granted.load(), 0);
}
