#pragma once

#include <juce_audio_devices/juce_audio_devices.h>

#if JUCE_LINUX && JUCE_ALSA

#include <alsa/asoundlib.h>

#include <optional>

// A sequencer client of the application's own (non-blocking, for output, named like JUCE's client
// so that both show up as the application) and the destination port it is opened for.
struct AlsaSequencerClient
{
    snd_seq_t* handle = nullptr; // the caller's to close
    int destinationClient = 0;
    int destinationPort = 0;

    // For the destination "client-port" (a device identifier as JUCE lists it, each 0 to 255).
    // Empty when the identifier is not such an address or the sequencer cannot be opened.
    static std::optional<AlsaSequencerClient> openFor (const juce::String& identifier);
};

#endif
