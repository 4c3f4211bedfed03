// Arbitrary text through the command-line rules, made into a String as JUCE makes the program's
// arguments (no NUL bytes inside). Whatever it holds, the rules must give a usable result: device
// numbers of at least 1 in automatic mode (none read otherwise), a trimmed file name that is the end
// of the command line, and options only when their text is there.
//
// Text that is not well-formed UTF-8 is left out: JUCE keeps such argument bytes as they are and
// then miscounts them. Its String searches read past the end of the text (seed
// invalid-utf8-before-option), and copying a String with overlong sequences writes past the end of
// the new buffer (seed overlong-utf8), so the arguments have to be made well-formed before JUCE
// or the rules see them.
#include "FuzzCheck.h"
#include "app/CommandLine.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace
{
bool sameOptions (const CommandLineOptions& a, const CommandLineOptions& b)
{
    return a.bFile == b.bFile && a.strFile == b.strFile && a.bAutoUpdate == b.bAutoUpdate &&
           a.nOutputid == b.nOutputid && a.nInputid == b.nInputid;
}

// UTF-8 as RFC 3629 defines it: shortest forms only, no surrogates, nothing above U+10FFFF.
bool isWellFormedUtf8 (const std::string& text)
{
    const auto* p = reinterpret_cast<const unsigned char*> (text.data());
    const auto* end = p + text.size();

    while (p < end)
    {
        const auto lead = *p++;
        int continuations = 0;
        unsigned char low = 0x80, high = 0xBF; // allowed range of the first continuation byte

        if (lead < 0x80)
            continue;

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
            return false;

        if (end - p < continuations || *p < low || *p > high)
            return false;

        for (int i = 1; i < continuations; ++i)
            if ((p[i] & 0xC0) != 0x80)
                return false;

        p += continuations;
    }

    return true;
}

// A plain decimal integer of at most 18 digits (so that strtoll cannot overflow), optional sign.
bool isPlainInteger (const std::string& text)
{
    size_t i = (!text.empty() && (text[0] == '+' || text[0] == '-')) ? 1 : 0;
    const auto digits = text.size() - i;

    if (digits == 0 || digits > 18)
        return false;

    for (; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9')
            return false;

    return true;
}

void checkInteger (const std::string& text)
{
    const auto value = parseCommandLineInteger (juce::String (juce::CharPointer_UTF8 (text.c_str())));

    if (isPlainInteger (text))
    {
        const auto expected =
            juce::jlimit<long long> (INT32_MIN, INT32_MAX, std::strtoll (text.c_str(), nullptr, 10));
        FUZZ_CHECK (value == expected);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    // Up to the first NUL, as an argument list would end there.
    const std::string bytes (reinterpret_cast<const char*> (data), size);
    const std::string argument = bytes.substr (0, bytes.find ('\0'));

    if (!isWellFormedUtf8 (argument))
        return 0;

    const juce::String commandLine (juce::CharPointer_UTF8 (argument.c_str()));

    const auto options = parseCommandLine (commandLine);
    FUZZ_CHECK (sameOptions (options, parseCommandLine (commandLine)));

    if (options.bAutoUpdate)
    {
        FUZZ_CHECK (options.nOutputid >= 1 && options.nInputid >= 1);
        FUZZ_CHECK (commandLine.containsIgnoreCase ("--autoupdate"));
    }
    else
    {
        FUZZ_CHECK (options.nOutputid == 0 && options.nInputid == 0);
    }

    if (options.bFile)
    {
        FUZZ_CHECK (commandLine.containsIgnoreCase ("--file"));
        FUZZ_CHECK (options.strFile == options.strFile.trim());
        FUZZ_CHECK (commandLine.trimEnd().endsWith (options.strFile));
    }
    else
    {
        FUZZ_CHECK (options.strFile.isEmpty());
    }

    checkInteger (argument);
    return 0;
}
