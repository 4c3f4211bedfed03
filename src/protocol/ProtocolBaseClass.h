#pragma once

#include "protocol/ProgressClass.h"

class FirmwareImage;
class InterfaceBaseClass;

// An upload protocol: the thread ("Protocol Thread") that sends a firmware image to the device,
// and the progress and status of that upload.
//
// The interface and the image belong to the owner and must outlive this object; the owner destroys
// the protocol (and with it the thread) first.
class ProtocolBaseClass : public juce::Thread, public ProgressClass
{
public:
    ProtocolBaseClass (InterfaceBaseClass* interfaceToUse, FirmwareImage* imageToSend);
    ~ProtocolBaseClass() override = default;

    void run() override = 0;

    // Message thread: starts an upload unless one is running. The plain protocol only starts the
    // thread; protocols that keep state between uploads reset it first.
    virtual void startUpload();

protected:
    InterfaceBaseClass* deviceInterface;
    FirmwareImage* firmwareImage;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ProtocolBaseClass)
};
