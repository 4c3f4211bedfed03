#include "protocol/SysexImageFraming.h"
#include "ProtocolTestSupport.h"

#include <gtest/gtest.h>

using namespace protocoltest;

namespace
{
using Bytes = std::vector<juce::uint8>;

Bytes concat (std::initializer_list<Bytes> parts)
{
    Bytes result;

    for (auto& part : parts)
        result.insert (result.end(), part.begin(), part.end());

    return result;
}

// The lengths readMessage yields, walking from the first byte until it yields nothing.
std::vector<int> split (const SysexImageFraming& framing)
{
    std::vector<int> lengths;
    auto* position = framing.begin();

    while (auto length = framing.readMessage (position))
        lengths.push_back (length);

    EXPECT_EQ (position, framing.end());
    return lengths;
}

std::string caseName (const ::testing::TestParamInfo<DamagedCase>& info)
{
    return info.param.name;
}

class DamagedImage : public ::testing::TestWithParam<DamagedCase>
{
};
} // namespace

TEST (SysexImageFraming, IntactImagesSplitIntoTheirMessages)
{
    const Bytes minimal { 0xF0, 0xF7 };
    const auto three = makeSysexImage ({ 10, 20, 70 });
    const auto single = makeSysexImage ({ 599 });

    for (auto& [bytes, lengths] : std::vector<std::pair<Bytes, std::vector<int>>> {
             { minimal, { 2 } }, { three, { 10, 20, 70 } }, { single, { 599 } } })
    {
        const SysexImageFraming framing (bytes.data(), static_cast<juce::uint32> (bytes.size()));
        ASSERT_TRUE (framing.isIntact());
        EXPECT_EQ (framing.getNumMessages(), static_cast<int> (lengths.size()));
        EXPECT_EQ (split (framing), lengths);
    }
}

TEST (SysexImageFraming, ReadsOnlyWholeMessagesInsideTheImage)
{
    const auto bytes = makeSysexImage ({ 4, 3 });
    const SysexImageFraming framing (bytes.data(), static_cast<juce::uint32> (bytes.size()));

    auto* middle = bytes.data() + 1;
    EXPECT_EQ (framing.readMessage (middle), 0);
    EXPECT_EQ (middle, bytes.data() + 1);

    auto* end = framing.end();
    EXPECT_EQ (framing.readMessage (end), 0);

    const Bytes other { 0xF0, 0xF7 };
    auto* elsewhere = other.data();
    EXPECT_EQ (framing.readMessage (elsewhere), 0);
}

TEST (SysexImageFraming, TheCheckStopsAtTheEndOfTheImage)
{
    // The closing 0xF7 lies just past the image: the image is a message without its end.
    const Bytes buffer { 0xF0, 0x01, 0xF7 };
    const SysexImageFraming framing (buffer.data(), 2);
    EXPECT_FALSE (framing.isIntact());
}

TEST_P (DamagedImage, IsRejectedAndYieldsNoMessage)
{
    const auto& bytes = GetParam().bytes;
    const SysexImageFraming framing (bytes.empty() ? nullptr : bytes.data(),
                                     static_cast<juce::uint32> (bytes.size()));

    EXPECT_FALSE (framing.isIntact());
    EXPECT_EQ (framing.getNumMessages(), 0);

    auto* position = framing.begin();
    EXPECT_EQ (framing.readMessage (position), 0);
    EXPECT_EQ (position, framing.begin());
}

INSTANTIATE_TEST_SUITE_P (
    Table, DamagedImage,
    ::testing::Values (
        DamagedCase { "StrayByteBetweenMessages",
                      concat ({ makeSysexImage ({ 10 }), { 0x00 }, makeSysexImage ({ 20 }) }) },
        DamagedCase { "TrailingBytes", concat ({ makeSysexImage ({ 10, 20 }), { 0x01, 0x02 } }) },
        DamagedCase { "TrailingStartByte", concat ({ makeSysexImage ({ 10 }), { 0xF0 } }) },
        DamagedCase { "LastMessageWithoutEnd", concat ({ makeSysexImage ({ 10 }), { 0xF0, 0x01, 0x02 } }) },
        DamagedCase { "StartByteInsideMessage", { 0xF0, 0x01, 0xF0, 0x02, 0xF7 } },
        DamagedCase { "FirstByteNotStart", concat ({ { 0x00 }, makeSysexImage ({ 10 }) }) },
        DamagedCase { "ImageStartsWithEnd", { 0xF7, 0xF0, 0xF7 } },
        DamagedCase { "HighDataByte", { 0xF0, 0x01, 0x80, 0x02, 0xF7 } },
        DamagedCase { "RealtimeByteInsideMessage", { 0xF0, 0x01, 0xF8, 0xF7 } },
        DamagedCase { "LoneStartByte", { 0xF0 } }, DamagedCase { "Empty", {} }),
    caseName);

TEST (SysexImageFraming, PointerWithoutBytesIsDamaged)
{
    const Bytes bytes { 0xF0, 0xF7 };
    EXPECT_FALSE (SysexImageFraming (bytes.data(), 0).isIntact());
}
