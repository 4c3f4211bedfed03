#include "app/CommandLine.h"

#include <cstdint>
#include <limits>

int parseCommandLineInteger (const juce::String& text)
{
    auto p = text.getCharPointer();

    while (p.isWhitespace())
        ++p;

    bool negative = false;

    if (*p == '+' || *p == '-')
    {
        negative = (*p == '-');
        ++p;
    }

    // Accumulate in 64 bits and stop growing once past the 32-bit range, so that no number of
    // digits can overflow.
    constexpr std::int64_t limit = std::int64_t (std::numeric_limits<std::int32_t>::max()) + 1;
    std::int64_t magnitude = 0;

    for (; *p >= '0' && *p <= '9'; ++p)
        if (magnitude <= limit)
            magnitude = magnitude * 10 + (*p - '0');

    const auto value = negative ? -magnitude : magnitude;
    return static_cast<int> (juce::jlimit<std::int64_t> (std::numeric_limits<std::int32_t>::min(),
                                                         std::numeric_limits<std::int32_t>::max(), value));
}

namespace
{
// The number after the first occurrence of an option text (letter case ignored); absent gives 0.
// The result is raised to at least 1.
int readDeviceNumber (const juce::String& commandLine, const juce::String& option)
{
    const auto index = commandLine.indexOfIgnoreCase (option);
    const auto value =
        index < 0 ? 0 : parseCommandLineInteger (commandLine.substring (index + option.length()));
    return juce::jmax (1, value);
}
} // namespace

CommandLineOptions parseCommandLine (const juce::String& commandLine)
{
    CommandLineOptions options;

    // The name starts after the first occurrence that counts as a whole word, so that a longer
    // word such as --filename before it cannot swallow the real option.
    const juce::String fileOption ("--file");
    const auto fileIndex = commandLine.indexOfWholeWordIgnoreCase (fileOption);

    if (fileIndex >= 0)
    {
        options.bFile = true;
        options.strFile = commandLine.substring (fileIndex + fileOption.length()).trim();
    }

    options.bAutoUpdate = commandLine.containsWholeWordIgnoreCase ("--autoupdate");

    if (options.bAutoUpdate)
    {
        options.nInputid = readDeviceNumber (commandLine, "--inputid ");
        options.nOutputid = readDeviceNumber (commandLine, "--outputid ");
    }

    return options;
}
