#include "protocol/ProtocolBaseClass.h"

ProtocolBaseClass::ProtocolBaseClass (InterfaceBaseClass* interfaceToUse, FirmwareImage* imageToSend)
    : juce::Thread ("Protocol Thread"), deviceInterface (interfaceToUse), firmwareImage (imageToSend)
{
}

ProtocolBaseClass::~ProtocolBaseClass()
{
    // The derived class has stopped the thread by now; a notice still pending goes with it.
    cancelPendingUpdate();
}

void ProtocolBaseClass::startUpload()
{
    clearOutcome();
    startThread();
}

UploadPosition ProtocolBaseClass::getPosition() const
{
    const juce::SpinLock::ScopedLockType lock (positionLock);
    return position;
}

void ProtocolBaseClass::setPosition (const UploadPosition& newPosition)
{
    const juce::SpinLock::ScopedLockType lock (positionLock);
    position = newPosition;
}

void ProtocolBaseClass::handleAsyncUpdate()
{
    const auto result = outcome.load();

    // Cleared in between by a new start: that upload will report for itself.
    if (result == UploadOutcome::none)
        return;

        // GCC 12 takes the iterator that JUCE's ListenerList links into the list while it calls for a
        // dangling pointer once it is inlined here (optimised builds); the iterator unlinks itself
        // before it goes.
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 12
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdangling-pointer"
#endif
    uploadListeners.call ([result] (Listener& l) { l.uploadFinished (result); });
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 12
#pragma GCC diagnostic pop
#endif
}
