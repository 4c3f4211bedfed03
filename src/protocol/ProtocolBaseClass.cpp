#include "protocol/ProtocolBaseClass.h"

ProtocolBaseClass::ProtocolBaseClass (InterfaceBaseClass* interfaceToUse, FirmwareImage* imageToSend)
    : juce::Thread ("Protocol Thread"), deviceInterface (interfaceToUse), firmwareImage (imageToSend)
{
}

void ProtocolBaseClass::startUpload()
{
    startThread();
}
