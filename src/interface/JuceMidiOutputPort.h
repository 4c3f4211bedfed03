#pragma once

#include "interface/MidiOutputPort.h"
#include "interface/WirePacer.h"

#include <memory>

// A MIDI output opened through JUCE. Its send returns once the message's wire time has passed:
// JUCE's send does not wait for that on Linux and macOS, and on Windows only as long as the WinMM
// driver holds the buffer.
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
