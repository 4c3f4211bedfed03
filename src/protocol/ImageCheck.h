#pragma once

#include "protocol/SysexImageFraming.h"

#include <chrono>
#include <vector>

// What a person needs to compare a firmware image with what its maker published, without sending
// it: the same framing check that guards every upload, the number of messages, the manufacturer
// id of the first message, the wire time at MIDI speed and the SHA-256 of the bytes.
class ImageCheck final
{
public:
    struct Report
    {
        juce::String name; // as the user knows the image: a file's name, or the built-in one's
        juce::uint64 size = 0;
        SysexImageFraming::Fault fault; // kind none: the image is sound
        int numMessages = 0;
        // The bytes after the first message's 0xF0 that name the maker: one, or three when the
        // first is 0x00. Empty when that message is too short to hold them.
        std::vector<juce::uint8> manufacturerId;
        // At MIDI speed, plus the pause after each message when the update will make one.
        std::chrono::milliseconds wireTime { 0 };
        std::chrono::milliseconds pauseAfterEachMessage { 0 };
        juce::String sha256; // 64 lower-case hex digits
    };

    // Checks size bytes at data (null only with size 0), for an update that pauses
    // pauseAfterEachMessage after each message.
    static Report check (const juce::String& name, const juce::uint8* data, juce::uint32 size,
                         std::chrono::milliseconds pauseAfterEachMessage = std::chrono::milliseconds (0));

    // The report of a sound image, one "Label: value" line each.
    static juce::String formatReport (const Report& report);

    // What is wrong with a damaged image and where, as one line without a full stop.
    static juce::String describeFault (const SysexImageFraming::Fault& fault);

private:
    ImageCheck() = delete;
};
