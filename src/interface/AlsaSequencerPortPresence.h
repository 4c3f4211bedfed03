#pragma once

#include <juce_audio_devices/juce_audio_devices.h>

#if JUCE_LINUX && JUCE_ALSA

#include <alsa/asoundlib.h>

#include <memory>

// Whether one ALSA sequencer port is still there, asked of the sequencer for that port alone.
// Reading JUCE's device list instead walks every client and port of the system: about 2 ms a time
// in the test guest and at times 10-30 ms, longer than a short message's wire time, so the check
// between two messages held the next one back.
//
// Made on any thread; isPresent is then called by one thread at a time (the upload thread).
class AlsaSequencerPortPresence final
{
public:
    // For the port with the identifier ("client-port", as JUCE lists it) and the name it was
    // listed with. Null when the identifier is not a sequencer address or the sequencer cannot be
    // opened.
    static std::unique_ptr<AlsaSequencerPortPresence> open (const juce::String& identifier,
                                                            const juce::String& name);
    ~AlsaSequencerPortPresence();

    // True while a port with that address and that name exists: a device that has gone and
    // another that took its address are both absent.
    bool isPresent() const;

private:
    AlsaSequencerPortPresence (snd_seq_t* handle, snd_seq_port_info_t* info, int client, int port,
                               juce::String name);

    snd_seq_t* const handle;
    snd_seq_port_info_t* const info; // the answer's room, reused: the query allocates nothing
    const int client;
    const int port;
    const juce::String name;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AlsaSequencerPortPresence)
};

#endif
