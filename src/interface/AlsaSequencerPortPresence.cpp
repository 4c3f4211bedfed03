#include "interface/AlsaSequencerPortPresence.h"

#if JUCE_LINUX && JUCE_ALSA

#include "interface/AlsaSequencerAddress.h"

std::unique_ptr<AlsaSequencerPortPresence> AlsaSequencerPortPresence::open (const juce::String& identifier,
                                                                            const juce::String& name)
{
    const auto address = AlsaSequencerAddress::parse (identifier);

    if (!address.has_value())
        return nullptr;

    snd_seq_t* handle = nullptr;

    // Only asked, never sent to: no port of its own.
    if (snd_seq_open (&handle, "default", SND_SEQ_OPEN_OUTPUT, SND_SEQ_NONBLOCK) < 0)
        return nullptr;

    // Named like JUCE's own client, so that a listing of the clients shows whose it is.
    if (auto* app = juce::JUCEApplicationBase::getInstance())
        snd_seq_set_client_name (handle, app->getApplicationName().toRawUTF8());

    snd_seq_port_info_t* info = nullptr;

    if (snd_seq_port_info_malloc (&info) < 0)
    {
        snd_seq_close (handle);
        return nullptr;
    }

    return std::unique_ptr<AlsaSequencerPortPresence> (
        new AlsaSequencerPortPresence (handle, info, address->client, address->port, name));
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
