#pragma once

#include <juce_core/juce_core.h>

// The framing of a firmware image: complete SysEx messages (0xF0, 7-bit data bytes, 0xF7) back to
// back, the first byte 0xF0 and the last 0xF7. The upload checks an image with this before it
// sends anything and then takes it apart message by message with it; a damaged image yields no
// message at all, because a half-sent firmware is worse than none.
//
// Pure and allocation-free; reads nothing outside the image.
class SysexImageFraming final
{
public:
    // Checks the framing of the size bytes at image in one pass. An empty image (no bytes, or a
    // null pointer) is damaged.
    SysexImageFraming (const juce::uint8* image, juce::uint32 size) noexcept;

    // What the check found wrong first, and where, so that a person can look at the bytes.
    enum class FaultKind
    {
        none,          // the image is intact
        empty,         // no bytes at all
        strayByte,     // a byte other than 0xF0 where a message should start
        statusByte,    // a byte of 0x80 or above inside a message, before its 0xF7
        unterminated,  // the last message runs to the end of the image without its 0xF7
        messageTooLong // a message longer than a send can take
    };

    struct Fault
    {
        FaultKind kind = FaultKind::none;
        int messageNumber = 0;         // the message it lies in (or that should start there), from 1
        juce::uint32 messageStart = 0; // byte offset of that message's 0xF0 (of the fault for strayByte)
        juce::uint32 offset = 0;       // byte offset of the faulty byte (the image size: unterminated)
        juce::uint8 byte = 0;          // the faulty byte (strayByte, statusByte)
    };

    bool isIntact() const noexcept { return intact; }
    int getNumMessages() const noexcept { return numMessages; }
    const Fault& getFault() const noexcept { return fault; }

    const juce::uint8* begin() const noexcept { return imageStart; }
    const juce::uint8* end() const noexcept { return imageEnd; }

    // Reads the message that starts at position, through its 0xF7, moves position to the byte
    // after it and returns the message length. Returns 0 and leaves position alone when the image
    // is damaged or position is not the start of a message inside the image.
    int readMessage (const juce::uint8*& position) const noexcept;

    static constexpr juce::uint8 startByte = 0xF0;
    static constexpr juce::uint8 endByte = 0xF7;

private:
    static bool check (const juce::uint8* image, juce::uint32 size, int& numMessages, Fault& fault) noexcept;

    const juce::uint8* imageStart;
    const juce::uint8* imageEnd;
    int numMessages = 0;
    Fault fault;
    bool intact;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SysexImageFraming)
};
