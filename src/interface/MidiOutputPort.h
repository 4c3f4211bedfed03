#pragma once

#include <juce_audio_devices/juce_audio_devices.h>

// One open MIDI output device.
class MidiOutputPort
{
public:
    virtual ~MidiOutputPort() = default;

    // Sends the message and returns only when the device has finished with all of it: the upload
    // has no other pacing between messages.
    virtual void sendMessageNow (const juce::MidiMessage& message) = 0;

    // True once the platform has refused a send on this port (its device has gone, for one): that
    // message did not reach the device whole. Ports whose platform reports nothing stay false.
    virtual bool hasSendFailed() const { return false; }
};
