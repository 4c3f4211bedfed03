#pragma once

#include "interface/MidiOutputPort.h"
#include "support/VirtualMidiDevice.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

// A virtual MIDI output device that behaves like a driver: a send returns only once the device has
// taken the whole message at its byte rate (the deadline is taken when the send begins; the wait
// sleeps). It records every message it takes. Create it through VirtualMidiPortProvider::addOutput.
//
// Every member is safe to call from any thread. Ports opened on it keep it alive.
class VirtualMidiOutput final : public VirtualMidiDevice,
                                public std::enable_shared_from_this<VirtualMidiOutput>
{
public:
    using Bytes = std::vector<juce::uint8>;
    using Observer = std::function<void (const juce::MidiMessage&)>;

    static constexpr double instant = 0.0;         // takes every message at once
    static constexpr double midiWireRate = 3125.0; // bytes per second on a MIDI cable

    VirtualMidiOutput (juce::String name, juce::String identifier, double bytesPerSecond,
                       std::shared_ptr<VirtualMidiEventLog> log);
    ~VirtualMidiOutput();

    //==============================================================================================
    // Behaviour

    // Bytes per second the device takes; instant (0) for no wait. Applies to the next send.
    void setBytesPerSecond (double bytesPerSecond);
    double getBytesPerSecond() const;

    // A vanished device (vanish()) also drops what its open ports send: the send returns at once,
    // and the message is counted in getDroppedCount.

    // While set, sends are refused as a platform refuses them: nothing is taken, and the port
    // reports a failed send from then on.
    void setRefusesSends (bool shouldRefuse);

    // While set, its ports answer isDevicePresent() from the device's presence, as a port whose
    // platform can be asked about its own device does; otherwise they leave that to the list.
    void setPortsAnswerPresence (bool shouldAnswer);

    // Called on the sending thread with each message handed to a port, before the device takes it
    // (dropped messages included). Null removes it. Must not open or close ports of this device.
    void setObserver (Observer observer);

    //==============================================================================================
    // What arrived

    std::vector<Bytes> getMessages() const;
    Bytes getBytes() const; // every byte taken, in order
    std::size_t getMessageCount() const;
    std::size_t getTotalBytes() const;
    std::size_t getDroppedCount() const;
    void clearReceived();

    // Wait until at least that many messages / bytes have been taken; false on timeout.
    bool waitForMessages (std::size_t count, std::chrono::milliseconds timeout) const;
    bool waitForBytes (std::size_t count, std::chrono::milliseconds timeout) const;

    //==============================================================================================
    // For the provider: a new port, or null when the device refuses to open.
    std::unique_ptr<MidiOutputPort> open();

private:
    class Port;

    bool take (const juce::MidiMessage& message); // false when refused

    std::atomic<double> bytesPerSecond;
    std::atomic<bool> refusesSends { false };
    std::atomic<bool> portsAnswerPresence { false };

    mutable std::mutex lock;
    mutable std::condition_variable arrived;
    Observer observer;
    std::vector<Bytes> messages;
    std::size_t totalBytes = 0;
    std::size_t dropped = 0;

    JUCE_DECLARE_NON_COPYABLE (VirtualMidiOutput)
};
