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

    setStatusText (uploadingText);

    while (sent < total)
    {
        if (threadShouldExit())
            return UploadOutcome::stopped;

        // Before every message, so that the device cannot be changed even if something enabled
        // the interface in between. A refused lock means a stop or a quit: the next message has
        // not started yet, so the upload ends here.
        if (!setInterfaceEnabled (false))
            return UploadOutcome::stopped;

        const auto* message = readPosition;
        const int length = framing.readMessage (readPosition);
        jassert (length > 0);

        // No lock is held here: the send may take as long as the wire needs.
        deviceInterface->sendSysex (message, length);

        if (!pauseAfterMessage())
            return UploadOutcome::stopped;

        // A send to a device that has gone returns as if all went well: only the device list
        // tells. Checked after the last message too, so that a device pulled during it is not
        // reported as updated.
        if (!deviceInterface->checkDeviceConnected())
            return UploadOutcome::deviceLost;

        sent += static_cast<juce::uint32> (length);
        sentSoFar.bytesSent = sent;
        ++sentSoFar.messagesSent;
        setPosition (sentSoFar);
        const double p = static_cast<double> (sent) / static_cast<double> (total);
        setProgress (p);

        const juce::ScopedLock lock (ProgressValueLock);
        progressValue = p;
    }

    return UploadOutcome::completed;
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
