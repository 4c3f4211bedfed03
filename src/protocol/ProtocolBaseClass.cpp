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

void ProtocolBaseClass::handleAsyncUpdate()
{
    const auto result = outcome.load();

    // Cleared in between by a new start: that upload will report for itself.
    if (result != UploadOutcome::none)
        uploadListeners.call ([result] (Listener& l) { l.uploadFinished (result); });
}
