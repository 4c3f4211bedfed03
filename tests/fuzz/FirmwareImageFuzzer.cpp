// Arbitrary bytes as a firmware image, through the framing check and the message splitting that
// the upload uses. An accepted image must split into whole messages (0xF0, 7-bit data, 0xF7) that
// cover it exactly; a rejected one must yield nothing. A plain second reading of the framing rules
// decides which images are to be accepted.
#include "FuzzCheck.h"
#include "protocol/SysexImageFraming.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace
{
bool followsFramingRules (const uint8_t* data, size_t size)
{
    if (size == 0)
        return false;

    const auto* end = data + size;

    for (const auto* start = data; start != end;)
    {
        const auto* close = std::find (start, end, uint8_t { 0xF7 });

        if (close == end || *start != 0xF0)
            return false;

        if (std::any_of (start + 1, close, [] (uint8_t b) { return b >= 0x80; }))
            return false;

        start = close + 1;
    }

    return true;
}

void checkImage (const uint8_t* data, size_t size)
{
    const SysexImageFraming framing (data, static_cast<juce::uint32> (size));
    FUZZ_CHECK (framing.isIntact() == (data != nullptr && followsFramingRules (data, size)));

    const auto* position = framing.begin();
    const auto* expectedStart = framing.begin();
    size_t covered = 0;
    int count = 0;

    while (const int length = framing.readMessage (position))
    {
        FUZZ_CHECK (framing.isIntact());
        FUZZ_CHECK (length >= 2 && static_cast<size_t> (length) <= size - covered);
        FUZZ_CHECK (position - length == expectedStart); // gapless, in order

        const auto* message = expectedStart;
        FUZZ_CHECK (message[0] == 0xF0 && message[length - 1] == 0xF7);
        FUZZ_CHECK (std::all_of (message + 1, message + length - 1, [] (uint8_t b) { return b < 0x80; }));

        expectedStart = position;
        covered += static_cast<size_t> (length);
        ++count;
    }

    if (framing.isIntact())
    {
        FUZZ_CHECK (covered == size && position == framing.end());
        FUZZ_CHECK (count == framing.getNumMessages());
    }
    else
    {
        FUZZ_CHECK (count == 0 && framing.getNumMessages() == 0 && position == framing.begin());
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    checkImage (data, size);

    if (size == 0)
        checkImage (nullptr, 0);

    return 0;
}
