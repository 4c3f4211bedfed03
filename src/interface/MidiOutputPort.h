#pragma once

#include <juce_audio_devices/juce_audio_devices.h>

#include <chrono>
#include <optional>

// One open MIDI output device.
class MidiOutputPort
{
public:
    virtual ~MidiOutputPort() = default;

    // Sends the message and returns only when the device has finished with all of it: the upload
    // has no other pacing between messages.
    virtual void sendMessageNow (const juce::MidiMessage& message) = 0;

    // sendMessageNow without its final wait: hands the message over and returns the time by which
    // the device will have finished with it, for the caller to wait for (with no lock held) before
    // its next message. Ports whose send waits by itself return a time already passed.
    virtual std::chrono::steady_clock::time_point startMessage (const juce::MidiMessage& message)
    {
        sendMessageNow (message);
        return std::chrono::steady_clock::now();
    }

    // True once the platform has refused a send on this port (its device has gone, for one): that
    // message did not reach the device whole. Ports whose platform reports nothing stay false.
    virtual bool hasSendFailed() const { return false; }

    // Whether the device is still there, where the platform can answer for this port alone,
    // quicker than a reading of the whole device list; empty where it cannot (the caller then
    // reads the list). Called by the sending thread.
    virtual std::optional<bool> isDevicePresent() const { return std::nullopt; }
};
