#pragma once

#include <juce_events/juce_events.h>

#include <chrono>

// The message manager's lock, taken by a worker thread as often as it needs it; it gives up when
// the worker is asked to stop (the message thread may then be waiting for the worker to end and
// cannot hand the lock over meanwhile).
//
// Why not a juce::MessageManagerLock on the worker's stack: in JUCE 7.0.5 the message thread grants
// the lock by setting a flag and then signalling the waiting lock's event. The worker may see the
// flag, do its work and leave the scope, destroying the event, while the message thread is still
// inside that signal: it then writes into the worker's stack, where the worker's next locals (the
// MIDI message being sent) already live. ThreadSanitizer reports this as a race. This object keeps
// one juce::MessageManager::Lock for as long as it lives, so a late signal meets a live event; its
// owner destroys it on the message thread once the worker has ended.
//
// One worker at a time: enter() and exit() are called on the thread that holds it. On the message
// thread, which needs no lock, call neither. The holder may enter again while it holds the lock
// (a step that takes it inside a longer one): that returns at once, and the lock is let go at the
// outermost exit().
class MessageThreadLock final : private juce::Thread::Listener
{
public:
    MessageThreadLock() = default;
    ~MessageThreadLock() override;

    // Waits for the lock on the calling thread. worker is that thread (null for a thread JUCE does
    // not know: then it waits as long as it takes). Returns false, without the lock, when worker
    // is asked to stop before or while it waits, and when JUCE will never grant it (no message
    // manager, or a quit has been posted).
    bool enter (juce::Thread* worker);

    // Releases the lock taken by a successful enter().
    void exit();

    // The time the holder's enter() calls have spent waiting since the last call of this; for the
    // upload's timing record (two clock reads an enter(), nothing against the wait itself).
    std::chrono::steady_clock::duration takeWaitTime() noexcept;

private:
    void exitSignalSent() override;

    juce::MessageManager::Lock lock;
    int depth = 0;                                   // the holder's thread only
    std::chrono::steady_clock::duration waitTime {}; // the holder's thread only

    JUCE_DECLARE_NON_COPYABLE (MessageThreadLock)
};
