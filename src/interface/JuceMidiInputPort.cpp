#include "interface/JuceMidiInputPort.h"

JuceMidiInputPort::JuceMidiInputPort (std::unique_ptr<juce::MidiInput> deviceToUse)
    : device (std::move (deviceToUse))
{
    jassert (device != nullptr);
}

JuceMidiInputPort::~JuceMidiInputPort()
{
    device->stop();
}

void JuceMidiInputPort::start()
{
    device->start();
}

void JuceMidiInputPort::stop()
{
    device->stop();
}
