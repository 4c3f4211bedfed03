#include "interface/JuceMidiOutputPort.h"

#ifndef QUILLON_WIRE_PACING
#define QUILLON_WIRE_PACING 1
#endif

JuceMidiOutputPort::JuceMidiOutputPort (std::unique_ptr<juce::MidiOutput> deviceToUse)
    : device (std::move (deviceToUse))
{
    jassert (device != nullptr);
}

void JuceMidiOutputPort::sendMessageNow (const juce::MidiMessage& message)
{
#if QUILLON_WIRE_PACING
    // JUCE's ALSA client is non-blocking: the send returns as soon as the event is handed to the
    // kernel, and the kernel silently drops whole events while the port's buffer is full (9-98 %
    // of an image lost when sent unpaced). CoreMIDI does not wait either. Waiting for the wire time
    // lets any device that takes MIDI's own rate receive every message whole.
    // WinMM waits only as long as its driver holds the buffer (Wine's: not at all); where it has
    // waited the wire time already, the deadline has passed and nothing is added.
    pacer.send (static_cast<std::size_t> (message.getRawDataSize()),
                [&] { device->sendMessageNow (message); });
#else
    // A build without pacing exists only so that the end-to-end test can show that it detects
    // lost data.
    juce::ignoreUnused (pacer);
    device->sendMessageNow (message);
#endif
}
