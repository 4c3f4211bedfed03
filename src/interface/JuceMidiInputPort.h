#pragma once

#include "interface/MidiInputPort.h"

#include <memory>

// A MIDI input opened through JUCE.
class JuceMidiInputPort final : public MidiInputPort
{
public:
    explicit JuceMidiInputPort (std::unique_ptr<juce::MidiInput> device);
    ~JuceMidiInputPort() override;

    void start() override;
    void stop() override;

private:
    std::unique_ptr<juce::MidiInput> device;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (JuceMidiInputPort)
};
