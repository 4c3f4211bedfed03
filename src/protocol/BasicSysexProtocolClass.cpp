#include "protocol/BasicSysexProtocolClass.h"

#include "firmware/FirmwareImage.h"
#include "interface/InterfaceBaseClass.h"
#include "protocol/SysexImageFraming.h"

#include <utility>

BasicSysexProtocolClass::BasicSysexProtocolClass (InterfaceBaseClass* interfaceToUse,
                                                  FirmwareImage* imageToSend)
    : ProtocolBaseClass (interfaceToUse, imageToSend)
{
    changedObject = this;
}

BasicSysexProtocolClass::~BasicSysexProtocolClass()
{
    stopThread (2000);
}

void BasicSysexProtocolClass::startUpload()
{
    if (!isThreadRunning())
    {
        {
            const juce::ScopedLock lock (ProgressValueLock);
            progressValue = 0.0;
            setProgress (0.0);
        }

        clearOutcome();
        startThread();
        return;
    }

    // Once the last byte is out the thread is only finishing; the next upload starts from 0.
    const juce::ScopedLock lock (ProgressValueLock);

    if (progressValue == 1.0)
    {
        progressValue = 0.0;
        setProgress (0.0);
    }
}

void BasicSysexProtocolClass::run()
{
    const auto result = upload();
    recordOutcome (result);

    if (timing != nullptr)
    {
        timing->write();
        timing.reset();
    }

    switch (result)
    {
        case UploadOutcome::completed:
            setStatusText (completedText);
            break;
        case UploadOutcome::damagedImage:
            // Nothing has been sent: the device keeps its firmware, and the user may pick another image.
            setStatusText (damagedImageText);
            break;
        case UploadOutcome::deviceLost:
            setStatusText (deviceLostText);
            break;
        case UploadOutcome::noDevice:
            setStatusText (noDeviceText);
            break;
        case UploadOutcome::stopped:
        case UploadOutcome::none:
            // The window is closing or the application quitting: the interface stays locked and the
            // status as it was.
            announceOutcome();
            return;
    }

    setInterfaceEnabled (true);
    announceOutcome();
}

UploadOutcome BasicSysexProtocolClass::upload()
{
    const juce::uint32 total = firmwareImage->getSize();
    const SysexImageFraming framing (firmwareImage->getData(), total);
    setPosition ({});

    if (!framing.isIntact())
        return UploadOutcome::damagedImage;

    // Sending to no output would "succeed" without a byte reaching anything.
    if (!deviceInterface->isDeviceReady())
        return UploadOutcome::noDevice;

    readPosition = framing.begin();
    juce::uint32 sent = 0;
    UploadPosition sentSoFar { 0, total, 0, framing.getNumMessages() };
    setPosition (sentSoFar);
    timing = UploadStepTimes::fromEnvironment();
    using Clock = UploadStepTimes::Clock;
    const auto stamp = [this]
    {
        return timing != nullptr ? Clock::now() : Clock::time_point();
    };

    setStatusText (uploadingText);

    // Before the first message; before each further one this happens while the wire carries the
    // one before. A refused lock means a stop or a quit: the upload ends before the next message.
    auto stepStart = stamp();

    if (!setInterfaceEnabled (false))
        return UploadOutcome::stopped;

    // The first message's record takes this step too.
    auto disable = stamp() - stepStart;
    auto disableLockWait = messageThreadLock.takeWaitTime();

    while (sent < total)
    {
        if (threadShouldExit())
            return UploadOutcome::stopped;

        const auto* message = readPosition;
        const int length = framing.readMessage (readPosition);
        jassert (length > 0);
        sent += static_cast<juce::uint32> (length);
        sentSoFar.bytesSent = sent;
        ++sentSoFar.messagesSent;
        const double p = static_cast<double> (sent) / static_cast<double> (total);
        const bool last = sent == total;

        auto* record = timing != nullptr ? &timing->addMessage() : nullptr;

        if (record != nullptr)
        {
            record->bytes = static_cast<std::size_t> (length);
            record->sendStart = stamp();
        }

        // No lock is held here. The device takes the message while the steps below run: after a
        // message the thread has a check and a wait for the message manager to make, and made
        // after the wire time they would hold the next message back, far beyond the pacer's
        // slack whenever the message thread is busy painting.
        deviceInterface->startSysex (message, length);

        if (record != nullptr)
            record->sendEnd = stamp();

        // A send to a device that has gone returns as if all went well: only the device list
        // tells. The device is checked before its message's progress is shown, and once more
        // after the last message's wire time, so that a device pulled during it is not reported
        // as updated.
        bool connected = true;
        bool keptDisabled = true;

        if (!last)
        {
            stepStart = stamp();
            connected = deviceInterface->checkDeviceConnected();

            if (record != nullptr)
                record->check = stamp() - stepStart;

            if (connected)
            {
                // One wait for the message manager a message: while the message thread paints, a
                // wait can take most of a message's wire time, and two could outlast it. The
                // progress broadcast takes the lock again inside this hold, at once.
                // The next message is not sent unless the interface is kept disabled for it: even
                // if something enabled it in between, the device cannot be changed under a send.
                stepStart = stamp();
                keptDisabled = messageThreadLock.enter (this);
                const auto lockWait = messageThreadLock.takeWaitTime();

                if (keptDisabled)
                {
                    broadcastProgress (p, sentSoFar, record);
                    deviceInterface->setEnabled (false);
                    messageThreadLock.exit();
                    storeProgressValue (p);
                }

                if (record != nullptr)
                {
                    record->disable = std::exchange (disable, {}) + (stamp() - stepStart);
                    record->disableLockWait = std::exchange (disableLockWait, {}) + lockWait;
                }
            }
        }

        deviceInterface->waitForSysex();

        if (record != nullptr)
            record->waitEnd = stamp();

        if (!connected)
            return UploadOutcome::deviceLost;

        if (!keptDisabled || !pauseAfterMessage())
            return UploadOutcome::stopped;

        if (last)
        {
            stepStart = stamp();
            connected = deviceInterface->checkDeviceConnected();

            if (record != nullptr)
                record->check = stamp() - stepStart;

            if (!connected)
                return UploadOutcome::deviceLost;

            broadcastProgress (p, sentSoFar, record);
            storeProgressValue (p);
        }
    }

    return UploadOutcome::completed;
}

void BasicSysexProtocolClass::broadcastProgress (double p, const UploadPosition& sentSoFar,
                                                 UploadStepTimes::Message* record)
{
    const auto start =
        record != nullptr ? UploadStepTimes::Clock::now() : UploadStepTimes::Clock::time_point();
    setPosition (sentSoFar);
    setProgress (p);

    if (record != nullptr)
    {
        record->progress = UploadStepTimes::Clock::now() - start;
        record->progressLockWait = messageThreadLock.takeWaitTime();
    }
}

void BasicSysexProtocolClass::storeProgressValue (double p)
{
    const juce::ScopedLock lock (ProgressValueLock);
    progressValue = p;
}

bool BasicSysexProtocolClass::pauseAfterMessage()
{
    using namespace std::chrono;
    const auto pause = getPauseAfterEachMessage();

    if (pause <= milliseconds::zero())
        return true;

    // In short slices: a stop request from the window sets the flag without waking the thread, and
    // closing must not wait for a long pause to run out.
    const auto end = steady_clock::now() + pause;

    for (auto left = end - steady_clock::now(); left > steady_clock::duration::zero();
         left = end - steady_clock::now())
    {
        if (threadShouldExit())
            return false;

        // Rounded up, so that the last slice never spins on a zero-length wait.
        wait (static_cast<int> (juce::jlimit<milliseconds::rep> (1, 10, ceil<milliseconds> (left).count())));
    }

    return !threadShouldExit();
}

bool BasicSysexProtocolClass::setInterfaceEnabled (bool shouldBeEnabled)
{
    if (!messageThreadLock.enter (this))
        return false;

    deviceInterface->setEnabled (shouldBeEnabled);
    messageThreadLock.exit();
    return true;
}
