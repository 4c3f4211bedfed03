#include "protocol/ImageCheck.h"
#include "support/SysexImages.h"

#include <gtest/gtest.h>

using Fault = SysexImageFraming::Fault;
using Kind = SysexImageFraming::FaultKind;
using Bytes = std::vector<juce::uint8>;

namespace
{
ImageCheck::Report checkBytes (const Bytes& bytes)
{
    return ImageCheck::check ("fw.syx", bytes.empty() ? nullptr : bytes.data(),
                              static_cast<juce::uint32> (bytes.size()));
}

Bytes concat (std::initializer_list<Bytes> parts)
{
    Bytes result;

    for (auto& part : parts)
        result.insert (result.end(), part.begin(), part.end());

    return result;
}
} // namespace

// A three-byte manufacturer id, a one-byte one after it; the SHA-256 computed elsewhere (Python's
// hashlib) for these eleven bytes.
TEST (ImageCheck, SoundImageReportsWhatAPersonComparesWithThePublishedFigures)
{
    const Bytes bytes { 0xF0, 0x00, 0x21, 0x5A, 0x01, 0x02, 0xF7, 0xF0, 0x7D, 0x10, 0xF7 };
    const auto report = checkBytes (bytes);

    EXPECT_EQ (report.fault.kind, Kind::none);
    EXPECT_EQ (report.size, 11u);
    EXPECT_EQ (report.numMessages, 2);
    EXPECT_EQ (report.manufacturerId, (Bytes { 0x00, 0x21, 0x5A }));
    EXPECT_EQ (report.wireTime, std::chrono::milliseconds (4)); // 11 x 320 us, rounded up
    EXPECT_EQ (report.sha256, "b87aaf7eaba94b77821d994aa2d40c6a239cdb94a0b7d4243a8e2c119f43b994");

    EXPECT_EQ (ImageCheck::formatReport (report),
               "Image:           fw.syx\n"
               "Size:            11 bytes\n"
               "Framing:         sound (complete SysEx messages back to back)\n"
               "SysEx messages:  2\n"
               "Manufacturer ID: 00 21 5A\n"
               "Wire time:       0:01 at MIDI speed (31250 baud)\n"
               "SHA-256:         b87aaf7eaba94b77821d994aa2d40c6a239cdb94a0b7d4243a8e2c119f43b994\n");
}

// --pause adds to every message, the last one included, as it does to the update.
TEST (ImageCheck, APauseAfterEachMessageCountsInTheWireTime)
{
    const auto bytes = makeSysexImage ({ 3000, 3000, 3000 }); // 9000 bytes: 2.88 s on the wire
    const auto report = ImageCheck::check ("fw.syx", bytes.data(), static_cast<juce::uint32> (bytes.size()),
                                           std::chrono::milliseconds (5000));

    EXPECT_EQ (report.wireTime, std::chrono::milliseconds (2880 + 3 * 5000));
    EXPECT_TRUE (ImageCheck::formatReport (report).contains (
        "Wire time:       0:18 at MIDI speed (31250 baud), with 5000 ms after each message\n"));
}

TEST (ImageCheck, ManufacturerIdIsOneByteOrThreeAfterZeroAndNoneInAShortFirstMessage)
{
    const struct
    {
        const char* name;
        Bytes bytes;
        Bytes id;
    } cases[] = {
        { "one byte", { 0xF0, 0x43, 0x10, 0xF7 }, { 0x43 } },
        { "one byte, nothing after it", { 0xF0, 0x7E, 0xF7 }, { 0x7E } },
        { "three bytes", { 0xF0, 0x00, 0x20, 0x33, 0xF7 }, { 0x00, 0x20, 0x33 } },
        { "zero without its two bytes", { 0xF0, 0x00, 0x20, 0xF7 }, {} },
        { "empty first message", { 0xF0, 0xF7, 0xF0, 0x43, 0xF7 }, {} },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        const auto report = checkBytes (c.bytes);
        ASSERT_EQ (report.fault.kind, Kind::none);
        EXPECT_EQ (report.manufacturerId, c.id);
    }

    EXPECT_TRUE (ImageCheck::formatReport (checkBytes ({ 0xF0, 0xF7 }))
                     .contains ("Manufacturer ID: none (the first message is too short)\n"));
}

// About the built-in image's size: 396 messages of 596 bytes, 75.53 s on the wire, shown rounded up.
TEST (ImageCheck, WireTimeAndCountOfALongImage)
{
    const auto bytes = makeSysexImage (396, 596);
    const auto report = checkBytes (bytes);

    ASSERT_EQ (report.fault.kind, Kind::none);
    EXPECT_EQ (report.numMessages, 396);
    EXPECT_EQ (report.wireTime, std::chrono::milliseconds (75526)); // 236016 bytes x 320 us
    EXPECT_TRUE (ImageCheck::formatReport (report).contains ("Wire time:       1:16 at MIDI speed"));
}

namespace
{
struct DamageCase
{
    const char* name;
    Bytes bytes;
    Fault fault;
    const char* description;
};

void PrintTo (const DamageCase& c, std::ostream* os)
{
    *os << c.name;
}

std::string caseName (const ::testing::TestParamInfo<DamageCase>& param)
{
    return param.param.name;
}

class DamagedImageCheck : public ::testing::TestWithParam<DamageCase>
{
};

// Messages of 10 and 20 bytes: the second starts at offset 10, the third (when there is one) at 30.
const Bytes twoMessages = makeSysexImage ({ 10, 20 });
} // namespace

TEST_P (DamagedImageCheck, NamesTheMessageAndTheByteOffset)
{
    const auto& c = GetParam();
    const auto report = checkBytes (c.bytes);

    EXPECT_EQ (report.fault.kind, c.fault.kind);
    EXPECT_EQ (report.fault.messageNumber, c.fault.messageNumber);
    EXPECT_EQ (report.fault.messageStart, c.fault.messageStart);
    EXPECT_EQ (report.fault.offset, c.fault.offset);
    EXPECT_EQ (report.fault.byte, c.fault.byte);
    EXPECT_EQ (ImageCheck::describeFault (report.fault), c.description);

    // Nothing is measured of an image that would not be sent.
    EXPECT_EQ (report.numMessages, 0);
    EXPECT_TRUE (report.sha256.isEmpty());
}

INSTANTIATE_TEST_SUITE_P (
    Table, DamagedImageCheck,
    ::testing::Values (
        DamageCase { "Empty", {}, { Kind::empty, 1, 0, 0, 0 }, "the image is empty" },
        DamageCase { "FirstByteNotStart",
                     concat ({ { 0x41 }, twoMessages }),
                     { Kind::strayByte, 1, 0, 0, 0x41 },
                     "message 1 should begin at byte offset 0 (0x0), but the byte there is 0x41, not 0xF0" },
        DamageCase {
            "StrayByteBetweenMessages",
            concat ({ twoMessages, { 0x00 }, makeSysexImage ({ 5 }) }),
            { Kind::strayByte, 3, 30, 30, 0x00 },
            "message 3 should begin at byte offset 30 (0x1E), but the byte there is 0x00, not 0xF0" },
        DamageCase { "StatusByteInsideSecondMessage",
                     concat ({ makeSysexImage ({ 10 }), { 0xF0, 0x01, 0x02, 0xF8, 0x03, 0xF7 } }),
                     { Kind::statusByte, 2, 10, 13, 0xF8 },
                     "message 2 (from byte offset 10 (0xA)) holds the status byte 0xF8 at byte offset 13 "
                     "(0xD), before its end byte 0xF7" },
        DamageCase {
            "SecondStartInsideFirstMessage",
            { 0xF0, 0x01, 0xF0, 0x02, 0xF7 },
            { Kind::statusByte, 1, 0, 2, 0xF0 },
            "message 1 (from byte offset 0 (0x0)) holds the status byte 0xF0 at byte offset 2 (0x2), "
            "before its end byte 0xF7" },
        DamageCase { "LastMessageWithoutEnd",
                     concat ({ twoMessages, { 0xF0, 0x01, 0x02 } }),
                     { Kind::unterminated, 3, 30, 33, 0 },
                     "message 3 (from byte offset 30 (0x1E)) has no end byte 0xF7: the image ends at byte "
                     "offset 33 (0x21)" },
        DamageCase { "CutInTheMiddle",
                     Bytes (twoMessages.begin(), twoMessages.end() - 1),
                     { Kind::unterminated, 2, 10, 29, 0 },
                     "message 2 (from byte offset 10 (0xA)) has no end byte 0xF7: the image ends at byte "
                     "offset 29 (0x1D)" }),
    caseName);
