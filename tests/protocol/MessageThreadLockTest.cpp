#include "protocol/MessageThreadLock.h"
#include "support/FunctionThread.h"
#include "support/MessagePump.h"

#include <gtest/gtest.h>

// One lock object for every message of an upload: the message thread's late signals meet a live
// event (with a lock on the worker's stack, ThreadSanitizer reports JUCE writing into that stack).
// Giving up on a stop request is shown through ProgressClass.
TEST (MessageThreadLock, GrantedAgainAndAgainWhileTheMessageThreadRuns)
{
    MessageThreadLock lock;
    std::atomic<int> granted { 0 };
    FunctionThread worker (
        [&] (juce::Thread& self)
        {
            for (int i = 0; i < 500 && lock.enter (&self); ++i)
            {
                ++granted;
                lock.exit();
            }
        });
    worker.startThread();

    ASSERT_TRUE (pumpUntil ([&] { return worker.finished.load(); }));
    EXPECT_EQ (granted.load(), 500);
}

// The upload thread keeps the interface disabled and broadcasts the progress in one hold; the
// broadcast takes the lock again inside it. That inner exit must not let the message thread run.
TEST (MessageThreadLock, AnInnerEnterReturnsAtOnceAndOnlyTheOuterExitLetsGo)
{
    MessageThreadLock lock;
    std::atomic<bool> messageThreadRan { false };
    std::atomic<bool> innerGranted { false };
    std::atomic<bool> ranBeforeOuterExit { false };
    FunctionThread worker (
        [&] (juce::Thread& self)
        {
            if (!lock.enter (&self))
                return;

            juce::MessageManager::callAsync ([&] { messageThreadRan = true; });
            innerGranted = lock.enter (&self);
            lock.exit();

            // Were the lock let go, the message thread would run the call within this time.
            for (int i = 0; i < 20 && !messageThreadRan; ++i)
                juce::Thread::sleep (10);

            ranBeforeOuterExit = messageThreadRan.load();
            lock.exit();
        });
    worker.startThread();

    ASSERT_TRUE (pumpUntil ([&] { return worker.finished.load() && messageThreadRan.load(); }));
    EXPECT_TRUE (innerGranted.load());
    EXPECT_FALSE (ranBeforeOuterExit.load());
}
