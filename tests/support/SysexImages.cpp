#include "support/SysexImages.h"

#include "firmware/BuiltInFirmwareImage.h"

std::vector<juce::uint8> makeSysexImage (const std::vector<int>& messageLengths)
{
    std::vector<juce::uint8> image;
    juce::uint32 state = 12345;

    for (size_t m = 0; m < messageLengths.size(); ++m)
    {
        const int length = messageLengths[m];
        image.push_back (0xF0);

        for (int i = 1; i < length - 1; ++i)
        {
            state = state * 1103515245u + 12345u;
            const auto value = i == 1 ? m : (i == 2 ? m >> 7 : state >> 16);
            image.push_back (static_cast<juce::uint8> (value & 0x7F));
        }

        image.push_back (0xF7);
    }

    return image;
}

std::vector<juce::uint8> makeSysexImage (int count, int length)
{
    return makeSysexImage (std::vector<int> (static_cast<size_t> (count), length));
}

std::vector<std::vector<juce::uint8>> splitSysexMessages (const juce::uint8* data, size_t size)
{
    std::vector<std::vector<juce::uint8>> messages;
    std::vector<juce::uint8> current;

    for (size_t i = 0; i < size; ++i)
    {
        current.push_back (data[i]);

        if (data[i] == 0xF7)
            messages.push_back (std::exchange (current, {}));
    }

    if (!current.empty())
        messages.push_back (current);

    return messages;
}

std::vector<std::vector<juce::uint8>> splitSysexMessages (const std::vector<juce::uint8>& image)
{
    return splitSysexMessages (image.data(), image.size());
}

std::vector<juce::uint8> builtInImageBytes()
{
    const BuiltInFirmwareImage image;
    return { image.getData(), image.getData() + image.getSize() };
}
