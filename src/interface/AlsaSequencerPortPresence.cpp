#include "interface/AlsaSequencerPortPresence.h"

#if JUCE_LINUX && JUCE_ALSA

#include "interface/AlsaSequencerClient.h"

std::unique_ptr<AlsaSequencerPortPresence> AlsaSequencerPortPresence::open (const juce::String& identifier,
                                                                            const juce::String& name)
{
    // Only asks, never sends: no port of its own.
    const auto opened = AlsaSequencerClient::openFor (identifier);

    if (!opened.has_value())
        return nullptr;

    snd_seq_port_info_t* info = nullptr;

    if (snd_seq_port_info_malloc (&info) < 0)
    {
        snd_seq_close (opened->handle);
        return nullptr;
    }

    return std::unique_ptr<AlsaSequencerPortPresence> (new AlsaSequencerPortPresence (
        opened->handle, info, opened->destinationClient, opened->destinationPort, name));
}

AlsaSequencerPortPresence::AlsaSequencerPortPresence (snd_seq_t* handleToUse, snd_seq_port_info_t* infoToUse,
                                                      int clientToUse, int portToUse, juce::String nameToUse)
    : handle (handleToUse), info (infoToUse), client (clientToUse), port (portToUse),
      name (std::move (nameToUse))
{
}

AlsaSequencerPortPresence::~AlsaSequencerPortPresence()
{
    snd_seq_port_info_free (info);
    snd_seq_close (handle);
}

bool AlsaSequencerPortPresence::isPresent() const
{
    if (snd_seq_get_any_port_info (handle, client, port, info) < 0)
        return false;

    // Named and able to take a sender as JUCE's output list requires, the name read as it reads it.
    return (snd_seq_port_info_get_capability (info) & SND_SEQ_PORT_CAP_SUBS_WRITE) != 0 &&
           juce::String (snd_seq_port_info_get_name (info)) == name;
}

#endif
