#pragma once

#include "protocol/UploadPosition.h"

#include <chrono>

// How long sending takes. The upload is paced to the MIDI wire (31250 baud, 10 bits a byte), so the
// time an upload still needs is known from what is left to send: the wire time of the bytes still to
// go plus the pause after each message still to go.
class UploadTiming final
{
public:
    // The wire time of numBytes at MIDI speed.
    static std::chrono::milliseconds wireTime (juce::uint64 numBytes) noexcept;

    // The time the rest of the upload takes, with pausePerMessage after every message still to go.
    static std::chrono::milliseconds timeLeft (const UploadPosition& position,
                                               std::chrono::milliseconds pausePerMessage) noexcept;

    // A duration as a person reads it, rounded up to the whole second: "0:44", "12:03", "1:02:03".
    static juce::String format (std::chrono::milliseconds duration);

private:
    UploadTiming() = delete;
};
