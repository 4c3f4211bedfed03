#pragma once

#include "interface/MidiInputPort.h"
#include "support/VirtualMidiEventLog.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

// A virtual MIDI input device. inject() plays the device's MIDI input thread: it hands a message to
// the callback of every port opened on it and started, on the calling thread (run it from a thread
// of your own to test the receiving side across threads). Once a port's stop() has returned, its
// callback is not called again. Create it through VirtualMidiPortProvider::addInput.
//
// Every member is safe to call from any thread. Ports opened on it keep it alive.
class VirtualMidiInput final : public std::enable_shared_from_this<VirtualMidiInput>
{
public:
    VirtualMidiInput (juce::String name, juce::String identifier, std::shared_ptr<VirtualMidiEventLog> log);
    ~VirtualMidiInput();

    const juce::String& getName() const noexcept { return name; }
    const juce::String& getIdentifier() const noexcept { return identifier; }

    // Delivers the message; returns how many callbacks received it (0 when no port is started).
    // The callback's source argument is null: there is no juce::MidiInput behind a virtual port.
    int inject (const juce::MidiMessage& message);

    // While set, opening fails (the provider returns null).
    void setFailsToOpen (bool shouldFail);

    // A vanished device leaves the provider's list, cannot be opened, and delivers nothing.
    void vanish();
    void reappear();
    bool isPresent() const;

    int getOpenCount() const;
    int getCloseCount() const;
    int getFailedOpenCount() const;
    int getNumOpenPorts() const;
    bool isOpen() const { return getNumOpenPorts() > 0; }
    bool isStarted() const; // some open port is started

    // For the provider: a new, stopped port, or null when the device refuses to open.
    std::unique_ptr<MidiInputPort> open (juce::MidiInputCallback& callback);

private:
    class Port;

    void setStarted (Port& port, bool started);
    void portClosed (Port& port);

    const juce::String name;
    const juce::String identifier;
    const std::shared_ptr<VirtualMidiEventLog> log;

    std::atomic<bool> failsToOpen { false };
    std::atomic<bool> present { true };

    mutable std::recursive_mutex lock; // held while callbacks run
    std::vector<Port*> ports;
    int opens = 0;
    int closes = 0;
    int failedOpens = 0;

    JUCE_DECLARE_NON_COPYABLE (VirtualMidiInput)
};
