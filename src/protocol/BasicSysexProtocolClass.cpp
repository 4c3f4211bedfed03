#include "protocol/BasicSysexProtocolClass.h"

#include "app/AutoUpdate.h"
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
    const juce::uint32 total = firmwareImage->getSize();
    const SysexImageFraming framing (firmwareImage->getData(), total);

    if (!framing.isIntact())
    {
        // Nothing has been sent: the device keeps its firmware, and the user may pick another image.
        setStatusText (damagedImageText);
        setInterfaceEnabled (true);
        return;
    }

    readPosition = framing.begin();
    juce::uint32 sent = 0;

    setStatusText (uploadingText);

    double p = 0.0;
    {
        const juce::ScopedLock lock (ProgressValueLock);
        p = progressValue;
    }

    while (p != 1.0 && !threadShouldExit())
    {
        // Before every message, so that the device cannot be changed even if something enabled
        // the interface in between. Not gaining the lock means a stop request came in: the next
        // message has not started yet, so the upload ends here.
        if (!setInterfaceEnabled (false))
            break;

        const auto* message = readPosition;
        const int length = framing.readMessage (readPosition);
        jassert (length > 0);

        // No lock is held here: the send may take as long as the wire needs.
        deviceInterface->sendSysex (message, length);

        sent += static_cast<juce::uint32> (length);
        p = static_cast<double> (sent) / static_cast<double> (total);
        setProgress (p);

        const juce::ScopedLock lock (ProgressValueLock);
        progressValue = p;
    }

    if (threadShouldExit())
        return;

    setStatusText (completedText);
    setInterfaceEnabled (true);

    if (bAutoUpdate.load())
        if (auto* application = juce::JUCEApplicationBase::getInstance())
            application->systemRequestedQuit();
}

bool BasicSysexProtocolClass::setInterfaceEnabled (bool shouldBeEnabled)
{
    const juce::MessageManagerLock mmLock (this);

    if (!mmLock.lockWasGained())
        return false;

    deviceInterface->setEnabled (shouldBeEnabled);
    return true;
}
