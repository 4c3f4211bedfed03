#pragma once

#include <juce_audio_devices/juce_audio_devices.h>

#if JUCE_LINUX && JUCE_ALSA

#include <alsa/asoundlib.h>

#include <cstddef>
#include <cstdint>
#include <memory>

// A sequencer client of the application's own with one port connected to an ALSA sequencer
// destination, which it hands SysEx bytes as SND_SEQ_EVENT_SYSEX events, each exactly the bytes
// given. JUCE's output encodes every message afresh (its encoder is reset after each send), so it
// cannot continue a SysEx across sends; this client can, so a long message can go in parts.
class AlsaSequencerSysexOutput final
{
public:
    // snd-seq-midi writes an event into the hardware port's 4096-byte output buffer in one go and
    // drops what does not fit. Half that buffer: a part still fits beside the whole previous one,
    // should a device not have taken any of it yet when the next part's turn comes.
    static constexpr std::size_t maxPartSize = 2048;

    // Opens the client and connects its port to the destination "client-port" (a device identifier
    // as JUCE lists it). Null when the sequencer, the identifier or the connection fails.
    static std::unique_ptr<AlsaSequencerSysexOutput> open (const juce::String& identifier,
                                                           const juce::String& portName);
    ~AlsaSequencerSysexOutput();

    // Delivers the bytes to the destination at once as one event. False when the sequencer
    // refuses: the destination has gone, for one.
    bool send (const std::uint8_t* data, std::size_t size);

private:
    AlsaSequencerSysexOutput (snd_seq_t* handle, int ownPort, int destinationClient, int destinationPort);

    snd_seq_t* const handle;
    const int ownPort;
    const int destinationClient;
    const int destinationPort;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AlsaSequencerSysexOutput)
};

#endif
