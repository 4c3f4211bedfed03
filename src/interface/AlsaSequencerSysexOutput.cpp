#include "interface/AlsaSequencerSysexOutput.h"

#if JUCE_LINUX && JUCE_ALSA

#include "interface/AlsaSequencerClient.h"

std::unique_ptr<AlsaSequencerSysexOutput> AlsaSequencerSysexOutput::open (const juce::String& identifier,
                                                                          const juce::String& portName)
{
    const auto opened = AlsaSequencerClient::openFor (identifier);

    if (!opened.has_value())
        return nullptr;

    auto* const handle = opened->handle;

    const auto ownPort =
        snd_seq_create_simple_port (handle, portName.toRawUTF8(), SND_SEQ_PORT_CAP_READ,
                                    SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);

    // A hardware port's driver opens the device only for a connected sender.
    if (ownPort < 0 ||
        snd_seq_connect_to (handle, ownPort, opened->destinationClient, opened->destinationPort) < 0)
    {
        snd_seq_close (handle);
        return nullptr;
    }

    return std::unique_ptr<AlsaSequencerSysexOutput> (
        new AlsaSequencerSysexOutput (handle, ownPort, opened->destinationClient, opened->destinationPort));
}

AlsaSequencerSysexOutput::AlsaSequencerSysexOutput (snd_seq_t* handleToUse, int ownPortToUse,
                                                    int destinationClientToUse, int destinationPortToUse)
    : handle (handleToUse), ownPort (ownPortToUse), destinationClient (destinationClientToUse),
      destinationPort (destinationPortToUse)
{
}

AlsaSequencerSysexOutput::~AlsaSequencerSysexOutput()
{
    snd_seq_close (handle);
}

bool AlsaSequencerSysexOutput::send (const std::uint8_t* data, std::size_t size)
{
    snd_seq_event_t event;
    snd_seq_ev_clear (&event);
    // alsa-lib's macro stores the complement of an int constant into the unsigned char flags.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wsign-conversion"
    snd_seq_ev_set_sysex (&event, static_cast<unsigned int> (size), const_cast<std::uint8_t*> (data));
#pragma GCC diagnostic pop
    snd_seq_ev_set_source (&event, static_cast<unsigned char> (ownPort));
    // Addressed to the destination rather than to the subscribers: once the destination has gone,
    // the send fails instead of reaching no one without a word.
    snd_seq_ev_set_dest (&event, static_cast<unsigned char> (destinationClient),
                         static_cast<unsigned char> (destinationPort));
    snd_seq_ev_set_direct (&event);

    return snd_seq_event_output_direct (handle, &event) >= 0;
}

#endif
