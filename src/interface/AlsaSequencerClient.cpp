#include "interface/AlsaSequencerClient.h"

#if JUCE_LINUX && JUCE_ALSA

namespace
{
// A sequencer client or port number: 0 to 255.
int parseAddressPart (const juce::String& text)
{
    if (text.isEmpty() || text.length() > 3 || !text.containsOnly ("0123456789"))
        return -1;

    const auto value = text.getIntValue();
    return value <= 255 ? value : -1;
}
} // namespace

std::optional<AlsaSequencerClient> AlsaSequencerClient::openFor (const juce::String& identifier)
{
    const auto client = parseAddressPart (identifier.upToFirstOccurrenceOf ("-", false, false));
    const auto port = parseAddressPart (identifier.fromFirstOccurrenceOf ("-", false, false));

    if (client < 0 || port < 0)
        return std::nullopt;

    snd_seq_t* handle = nullptr;

    // Non-blocking: a send that cannot be delivered at once fails instead of holding the upload.
    if (snd_seq_open (&handle, "default", SND_SEQ_OPEN_OUTPUT, SND_SEQ_NONBLOCK) < 0)
        return std::nullopt;

    if (auto* app = juce::JUCEApplicationBase::getInstance())
        snd_seq_set_client_name (handle, app->getApplicationName().toRawUTF8());

    return AlsaSequencerClient { handle, client, port };
}

#endif
