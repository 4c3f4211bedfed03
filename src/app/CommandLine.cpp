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

const char* const laterOptions[] = { "--output",    "--outputid", "--inputid", "--autoupdate",
                                     "--file",      "--help",     "--version", "--list-outputs",
                                     "--no-window", "--quiet",    "--check",   "--pause" };

// The words after "--output ", up to the next option that counts as a whole word, trimmed: device
// names have blanks, and the arguments arrive joined without quotation marks.
juce::String readOutputName (const juce::String& text)
{
    const juce::String option ("--output");
    const auto index = text.indexOfWholeWordIgnoreCase (option);

    if (index < 0 || !text.substring (index + option.length()).startsWithChar (' '))
        return {};

    const auto rest = text.substring (index + option.length());
    auto end = rest.length();

    for (const auto* next : laterOptions)
        if (const auto i = rest.indexOfWholeWordIgnoreCase (next); i >= 0)
            end = juce::jmin (end, i);

    return rest.substring (0, end).trim();
}

// The word after "--pause" as milliseconds: plain decimal digits from 0 to maxPauseMs. Anything else
// leaves the pause at 0 and says what was wrong.
void readPause (const juce::String& text, CommandLineOptions& options)
{
    const juce::String option ("--pause");
    const auto index = text.indexOfWholeWordIgnoreCase (option);

    if (index < 0)
        return;

    const auto rest = text.substring (index + option.length());
    const auto value = rest.startsWithChar (' ') ? rest.trimStart().upToFirstOccurrenceOf (" ", false, false)
                                                 : rest.upToFirstOccurrenceOf (" ", false, false);
    const auto range = "--pause takes a number of milliseconds from 0 to " + juce::String (maxPauseMs);

    if (value.isEmpty())
    {
        options.pauseError = range + "; none was given";
        return;
    }

    // Digits only, and not so many that the number could not be read: "100ms", "-1", "1e3" are refused.
    if (!value.containsOnly ("0123456789") || value.length() > 9 || value.getIntValue() > maxPauseMs)
    {
        options.pauseError = range + ", not \"" + value + "\"";
        return;
    }

    options.nPause = value.getIntValue();
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

    const auto beforeFile = fileIndex >= 0 ? commandLine.substring (0, fileIndex) : commandLine;

    // An update without a window has nobody to press the button: it is an automatic one.
    options.bNoWindow = beforeFile.containsWholeWordIgnoreCase ("--no-window");
    options.bAutoUpdate = commandLine.containsWholeWordIgnoreCase ("--autoupdate") || options.bNoWindow;

    if (options.bAutoUpdate)
    {
        options.nInputid = readDeviceNumber (commandLine, "--inputid ");
        options.nOutputid = readDeviceNumber (commandLine, "--outputid ");
    }

    if (options.bAutoUpdate)
        options.strOutput = readOutputName (beforeFile);

    options.bHelp = beforeFile.containsWholeWordIgnoreCase ("--help");
    options.bVersion = beforeFile.containsWholeWordIgnoreCase ("--version");
    options.bListOutputs = beforeFile.containsWholeWordIgnoreCase ("--list-outputs");
    options.bQuiet = beforeFile.containsWholeWordIgnoreCase ("--quiet");
    options.bCheck = beforeFile.containsWholeWordIgnoreCase ("--check");
    readPause (beforeFile, options);

    return options;
}
