#pragma once

#include <juce_audio_devices/juce_audio_devices.h>

// One open MIDI input device. Incoming messages go to the callback it was opened with, on the
// device's own thread, between start() and stop().
class MidiInputPort
{
public:
    virtual ~MidiInputPort() = default;
    virtual void start() = 0;
    virtual void stop() = 0;
};
