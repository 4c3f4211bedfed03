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
