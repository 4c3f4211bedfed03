#pragma once

#include "interface/MidiInputPort.h"
#include "interface/MidiOutputPort.h"

#include <memory>

// Lists and opens MIDI devices. The application uses JUCE's devices; tests use virtual ones.
// Devices are opened by the identifier listed with their name, never by position, so a list read
// earlier still reaches the device it named.
class MidiPortProvider
{
public:
    virtual ~MidiPortProvider() = default;

    virtual juce::Array<juce::MidiDeviceInfo> getOutputDevices() = 0;
    virtual juce::Array<juce::MidiDeviceInfo> getInputDevices() = 0;

    // Null when the device cannot be opened.
    virtual std::unique_ptr<MidiOutputPort> openOutput (const juce::String& identifier) = 0;
    virtual std::unique_ptr<MidiInputPort> openInput (const juce::String& identifier,
                                                      juce::MidiInputCallback& callback) = 0;
};
