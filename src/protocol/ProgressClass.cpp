#include "protocol/ProgressClass.h"

void ProgressClass::setProgress (double value)
{
    // roundToInt is the magic-number rounding: ties go to the even integer.
    const double newValue = juce::roundToInt (value * 100.0) / 100.0;

    if (progress.exchange (newValue) == newValue)
        return;

    // Once a quit has been posted the lock is never granted again: nobody will see this anyway.
    auto* mm = juce::MessageManager::getInstanceWithoutCreating();

    if (mm == nullptr || mm->hasStopMessageBeenSent())
        return;

    if (mm->isThisTheMessageThread())
    {
        sendSynchronousChangeMessage();
        return;
    }

    // On an upload thread, give up waiting when that thread is asked to stop: the message thread
    // may be waiting for it to end and cannot hand the lock over meanwhile. On a thread JUCE does
    // not know this is the ordinary blocking lock.
    if (messageThreadLock.enter (juce::Thread::getCurrentThread()))
    {
        sendSynchronousChangeMessage();
        messageThreadLock.exit();
    }
}

void ProgressClass::setStatusText (juce::String text)
{
    {
        const juce::ScopedLock lock (statusTextLock);

        if (text == statusText)
            return;

        statusText = std::move (text);
    }

    sendChangeMessage();
}

juce::String ProgressClass::getStatusText() const
{
    const juce::ScopedLock lock (statusTextLock);
    return statusText;
}
