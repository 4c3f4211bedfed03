#include "protocol/BasicSysexProtocolClass.h"

#include "firmware/FirmwareImage.h"
#include "interface/InterfaceBaseClass.h"
#include "protocol/SysexImageFraming.h"

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

    // Written before anything shows the outcome, so that whoever waits for it finds the record.
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

    if (!framing.isIntact())
        return UploadOutcome::damagedImage;

    // Sending to no output would "succeed" without a byte reaching anything.
    if (!deviceInterface->isDeviceReady())
        return UploadOutcome::noDevice;

    readPosition = framing.begin();
    juce::uint32 sent = 0;
    timing = UploadTiming::fromEnvironment();
    using Clock = UploadTiming::Clock;
    const auto stamp = [this]
    {
        return timing != nullptr ? Clock::now() : Clock::time_point();
    };

    setStatusText (uploadingText);

    while (sent < total)
    {
        if (threadShouldExit())
            return UploadOutcome::stopped;

        auto* record = timing != nullptr ? &timing->addMessage() : nullptr;
        auto stepStart = stamp();

        // Before every message, so that the device cannot be changed even if something enabled
        // the interface in between. A refused lock means a stop or a quit: the next message has
        // not started yet, so the upload ends here.
        if (!setInterfaceEnabled (false))
            return UploadOutcome::stopped;

        const auto* message = readPosition;
        const int length = framing.readMessage (readPosition);
        jassert (length > 0);

        if (record != nullptr)
        {
            record->bytes = static_cast<std::size_t> (length);
            record->disableLockWait = messageThreadLock.takeWaitTime();
            record->sendStart = stamp();
            record->disable = record->sendStart - stepStart;
        }

        // No lock is held here: the send may take as long as the wire needs.
        deviceInterface->sendSysex (message, length);

        if (record != nullptr)
            record->sendEnd = record->waitEnd = stamp();

        // A send to a device that has gone returns as if all went well: only the device list
        // tells. Checked after the last message too, so that a device pulled during it is not
        // reported as updated.
        if (!deviceInterface->checkDeviceConnected())
            return UploadOutcome::deviceLost;

        if (record != nullptr)
        {
            stepStart = stamp();
            record->check = stepStart - record->sendEnd;
        }

        sent += static_cast<juce::uint32> (length);
        const double p = static_cast<double> (sent) / static_cast<double> (total);
        setProgress (p);

        if (record != nullptr)
        {
            record->progress = stamp() - stepStart;
            record->progressLockWait = messageThreadLock.takeWaitTime();
        }

        const juce::ScopedLock lock (ProgressValueLock);
        progressValue = p;
    }

    return UploadOutcome::completed;
}

bool BasicSysexProtocolClass::setInterfaceEnabled (bool shouldBeEnabled)
{
    if (!messageThreadLock.enter (this))
        return false;

    deviceInterface->setEnabled (shouldBeEnabled);
    messageThreadLock.exit();
    return true;
}
