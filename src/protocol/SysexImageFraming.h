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

    bool isIntact() const noexcept { return intact; }
    int getNumMessages() const noexcept { return numMessages; }

    const juce::uint8* begin() const noexcept { return imageStart; }
    const juce::uint8* end() const noexcept { return imageEnd; }

    // Reads the message that starts at position, through its 0xF7, moves position to the byte
    // after it and returns the message length. Returns 0 and leaves position alone when the image
    // is damaged or position is not the start of a message inside the image.
    int readMessage (const juce::uint8*& position) const noexcept;

    static constexpr juce::uint8 startByte = 0xF0;
    static constexpr juce::uint8 endByte = 0xF7;

private:
    static bool check (const juce::uint8* image, juce::uint32 size, int& numMessages) noexcept;

    const juce::uint8* imageStart;
    const juce::uint8* imageEnd;
    int numMessages = 0;
    bool intact;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SysexImageFraming)
};
