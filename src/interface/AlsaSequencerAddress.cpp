#include "interface/AlsaSequencerAddress.h"

namespace
{
// A sequencer client or port number: 0 to 255.
int parsePart (const juce::String& text)
{
    if (text.isEmpty() || text.length() > 3 || !text.containsOnly ("0123456789"))
        return -1;

    const auto value = text.getIntValue();
    return value <= 255 ? value : -1;
}
} // namespace

std::optional<AlsaSequencerAddress> AlsaSequencerAddress::parse (const juce::String& identifier)
{
    const auto client = parsePart (identifier.upToFirstOccurrenceOf ("-", false, false));
    const auto port = parsePart (identifier.fromFirstOccurrenceOf ("-", false, false));

    if (client < 0 || port < 0)
        return std::nullopt;

    return AlsaSequencerAddress { client, port };
}
