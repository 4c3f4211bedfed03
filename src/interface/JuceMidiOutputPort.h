#pragma once

#include "interface/MidiOutputPort.h"
#include "interface/WirePacer.h"

#include <memory>

// A MIDI output opened through JUCE. Its send returns once the driver has finished with the
// message: where JUCE's send does not wait for that (Linux, macOS) it waits for the message's wire
// time itself.
class JuceMidiOutputPort final : public MidiOutputPort
{
public:
    explicit JuceMidiOutputPort (std::unique_ptr<juce::MidiOutput> device);

    void sendMessageNow (const juce::MidiMessage& message) override;

private:
    std::unique_ptr<juce::MidiOutput> device;
    WirePacer pacer;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (JuceMidiOutputPort)
};
