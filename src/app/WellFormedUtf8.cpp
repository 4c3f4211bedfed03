#include "app/WellFormedUtf8.h"

namespace
{
// Length of the well-formed sequence at p (RFC 3629: shortest forms only, no surrogates, nothing
// above U+10FFFF), or 0 if there is none.
size_t wellFormedLength (const unsigned char* p, const unsigned char* end)
{
    const auto lead = *p;

    if (lead < 0x80)
        return 1;

    size_t continuations = 0;
    unsigned char low = 0x80, high = 0xBF; // allowed range of the first continuation byte

    if (lead >= 0xC2 && lead <= 0xDF)
        continuations = 1;
    else if (lead >= 0xE0 && lead <= 0xEF)
    {
        continuations = 2;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    }
    else if (lead >= 0xF0 && lead <= 0xF4)
    {
        continuations = 3;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    }
    else
        return 0;

    if (static_cast<size_t> (end - p - 1) < continuations || p[1] < low || p[1] > high)
        return 0;

    for (size_t i = 2; i <= continuations; ++i)
        if ((p[i] & 0xC0) != 0x80)
            return 0;

    return continuations + 1;
}
} // namespace

std::string toWellFormedUtf8 (std::string_view bytes)
{
    static constexpr char replacement[] = "\xEF\xBF\xBD"; // U+FFFD

    std::string result;
    result.reserve (bytes.size());

    const auto* p = reinterpret_cast<const unsigned char*> (bytes.data());
    const auto* end = p + bytes.size();

    while (p < end)
    {
        if (const auto length = wellFormedLength (p, end); length > 0)
        {
            result.append (reinterpret_cast<const char*> (p), length);
            p += length;
        }
        else
        {
            result.append (replacement);
            ++p;
        }
    }

    return result;
}
