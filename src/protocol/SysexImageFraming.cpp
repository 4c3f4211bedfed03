#include "protocol/SysexImageFraming.h"

#include <limits>

SysexImageFraming::SysexImageFraming (const juce::uint8* image, juce::uint32 size) noexcept
    : imageStart (image), imageEnd (image != nullptr ? image + size : nullptr),
      intact (check (image, size, numMessages, fault))
{
}

bool SysexImageFraming::check (const juce::uint8* image, juce::uint32 size, int& numMessages,
                               Fault& fault) noexcept
{
    int count = 0;

    if (image == nullptr || size == 0)
    {
        fault = { FaultKind::empty, 1, 0, 0, 0 };
        return false;
    }

    // Every message length must fit the int the send takes.
    constexpr auto maxMessageLength = static_cast<juce::uint32> (std::numeric_limits<int>::max());
    juce::uint32 messageStart = 0;
    bool insideMessage = false;

    for (juce::uint32 i = 0; i < size; ++i)
    {
        const auto byte = image[i];

        if (!insideMessage)
        {
            // Between messages (and at the very start) only the next 0xF0 may follow.
            if (byte != startByte)
            {
                fault = { FaultKind::strayByte, count + 1, i, i, byte };
                return false;
            }

            insideMessage = true;
            messageStart = i;
        }
        else if (byte == endByte)
        {
            if (i - messageStart + 1 > maxMessageLength)
            {
                fault = { FaultKind::messageTooLong, count + 1, messageStart, i, byte };
                return false;
            }

            insideMessage = false;
            ++count;
        }
        else if (byte >= 0x80)
        {
            // A status byte inside a message (a second 0xF0 included) would cut it on the wire.
            fault = { FaultKind::statusByte, count + 1, messageStart, i, byte };
            return false;
        }
    }

    // The image must end with the closing 0xF7 of its last message.
    if (insideMessage)
    {
        fault = { FaultKind::unterminated, count + 1, messageStart, size, 0 };
        return false;
    }

    numMessages = count;
    return true;
}

int SysexImageFraming::readMessage (const juce::uint8*& position) const noexcept
{
    if (!intact || position < imageStart || position >= imageEnd || *position != startByte)
        return 0;

    // The check has seen the 0xF7 that closes this message inside the image.
    auto* scan = position;

    while (*scan++ != endByte)
    {
    }

    const auto length = static_cast<int> (scan - position);
    position = scan;
    return length;
}
