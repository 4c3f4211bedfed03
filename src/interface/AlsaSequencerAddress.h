#pragma once

#include <juce_core/juce_core.h>

#include <optional>

// A sequencer port's address as JUCE writes it into a device identifier on Linux: "client-port",
// each 0 to 255.
struct AlsaSequencerAddress
{
    int client = 0;
    int port = 0;

    // Empty for anything else.
    static std::optional<AlsaSequencerAddress> parse (const juce::String& identifier);
};
