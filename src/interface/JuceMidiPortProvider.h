#pragma once

#include "interface/MidiPortProvider.h"

// The system's MIDI devices, through JUCE. On Linux it keeps alsa-lib quiet: without a sequencer
// (no /dev/snd) alsa-lib would print an error for every device query; the lists are then empty
// and every open fails, which the interface shows as no device.
class JuceMidiPortProvider final : public MidiPortProvider
{
public:
    JuceMidiPortProvider();

    juce::Array<juce::MidiDeviceInfo> getOutputDevices() override;
    juce::Array<juce::MidiDeviceInfo> getInputDevices() override;

    std::unique_ptr<MidiOutputPort> openOutput (const juce::String& identifier) override;
    std::unique_ptr<MidiInputPort> openInput (const juce::String& identifier,
                                              juce::MidiInputCallback& callback) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (JuceMidiPortProvider)
};
