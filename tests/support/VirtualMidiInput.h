#pragma once

#include "interface/MidiInputPort.h"
#include "support/VirtualMidiDevice.h"

#include <memory>
#include <mutex>
#include <vector>

// A virtual MIDI input device. inject() plays the device's MIDI input thread: it hands a message to
// the callback of every port opened on it and started, on the calling thread (run it from a thread
// of your own to test the receiving side across threads). Once a port's stop() has returned, its
// callback is not called again. Create it through VirtualMidiPortProvider::addInput.
//
// Every member is safe to call from any thread. Ports opened on it keep it alive.
class VirtualMidiInput final : public VirtualMidiDevice, public std::enable_shared_from_this<VirtualMidiInput>
{
public:
    VirtualMidiInput (juce::String name, juce::String identifier, std::shared_ptr<VirtualMidiEventLog> log);
    ~VirtualMidiInput();

    // Delivers the message; returns how many callbacks received it (0 when no port is started or
    // the device has vanished). The callback's source argument is null: there is no
    // juce::MidiInput behind a virtual port.
    int inject (const juce::MidiMessage& message);

    bool isStarted() const; // some open port is started

    // For the provider: a new, stopped port, or null when the device refuses to open.
    std::unique_ptr<MidiInputPort> open (juce::MidiInputCallback& callback);

private:
    class Port;

    void setStarted (Port& port, bool started);
    void portClosed (Port& port);

    mutable std::recursive_mutex lock; // held while callbacks run
    std::vector<Port*> ports;

    JUCE_DECLARE_NON_COPYABLE (VirtualMidiInput)
};
