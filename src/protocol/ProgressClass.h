#pragma once

#include "protocol/MessageThreadLock.h"

#include <juce_events/juce_events.h>

#include <atomic>

// The observable state of an upload: a progress value from 0.0 to 1.0 in whole hundredths, and a
// status text. A change of the progress reaches the listeners at once, on the thread that made it,
// while that thread holds the message-manager lock (so listeners may touch components); a change
// of the text reaches them later on the message thread.
//
// Both values may be written on one thread and read on another: the progress is atomic and the
// text is guarded by a lock of its own. The progress is set by one thread at a time besides the
// message thread.
class ProgressClass : public juce::ChangeBroadcaster
{
public:
    ProgressClass() = default;
    virtual ~ProgressClass() = default;

    // Stores the value rounded to hundredths (ties to the even hundredth) and broadcasts if the
    // stored value changed. Called on a juce::Thread, the broadcast is skipped when that thread is
    // asked to stop while it waits for the message-manager lock.
    void setProgress (double value);
    double getProgress() const noexcept { return progress.load(); }

    // Stores the text and, if it differs from the stored one, posts one change message; texts set
    // before the message thread delivers it add nothing, and the listener then reads the last one.
    void setStatusText (juce::String text);
    juce::String getStatusText() const;

    // The object that change messages name. JUCE delivers a change message with the broadcaster
    // itself as its source, so a listener tells broadcasters apart by comparing that source with
    // the objects it watches; this is the object the broadcaster stands for (itself unless its
    // owner says otherwise: the upload protocol names itself).
    void* getChangedObject() const noexcept { return changedObject; }

protected:
    void* changedObject = this;

    // The message manager's lock for the thread that sets the progress; an owner that is that
    // thread may take it for its own work there too.
    MessageThreadLock messageThreadLock;

private:
    juce::CriticalSection statusTextLock;
    juce::String statusText;
    std::atomic<double> progress { 0.0 };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ProgressClass)
};
