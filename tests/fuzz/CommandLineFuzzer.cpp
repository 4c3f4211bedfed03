// Arbitrary text through the command-line rules, made into a String as JUCE makes the program's
// arguments (no NUL bytes inside). Whatever it holds, the rules must give a usable result: device
// numbers of at least 1 in automatic mode (none read otherwise), a trimmed file name that is the end
// of the command line, and options only when their text is there.
//
// The bytes go through the same repair the entry point applies to every argument: JUCE takes
// ill-formed UTF-8 unchecked and then reads (seed invalid-utf8-before-option) or writes (seed
// overlong-utf8) past its buffers.
#include "FuzzCheck.h"
#include "app/CommandLine.h"
#include "app/WellFormedUtf8.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace
{
bool sameOptions (const CommandLineOptions& a, const CommandLineOptions& b)
{
    return a.bFile == b.bFile && a.strFile == b.strFile && a.bAutoUpdate == b.bAutoUpdate &&
           a.nOutputid == b.nOutputid && a.nInputid == b.nInputid && a.strOutput == b.strOutput &&
           a.nPause == b.nPause && a.pauseError == b.pauseError && a.bHelp == b.bHelp &&
           a.bVersion == b.bVersion && a.bListOutputs == b.bListOutputs && a.bNoWindow == b.bNoWindow &&
           a.bQuiet == b.bQuiet && a.bCheck == b.bCheck;
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
    const std::string argument = toWellFormedUtf8 (bytes.substr (0, bytes.find ('\0')));

    const juce::String commandLine (juce::CharPointer_UTF8 (argument.c_str()));

    const auto options = parseCommandLine (commandLine);
    FUZZ_CHECK (sameOptions (options, parseCommandLine (commandLine)));

    if (options.bAutoUpdate)
    {
        FUZZ_CHECK (options.nOutputid >= 1 && options.nInputid >= 1);
        FUZZ_CHECK (commandLine.containsIgnoreCase ("--autoupdate") || options.bNoWindow);
    }
    else
    {
        FUZZ_CHECK (options.nOutputid == 0 && options.nInputid == 0);
    }

    // A pause is in its range, or refused and then none.
    FUZZ_CHECK (options.nPause >= 0 && options.nPause <= maxPauseMs);
    FUZZ_CHECK (options.pauseError.isEmpty() || options.nPause == 0);

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

    // The added options: only where their text is, never taken from the file's name.
    if (options.strOutput.isNotEmpty())
    {
        FUZZ_CHECK (options.bAutoUpdate && commandLine.containsIgnoreCase ("--output "));
        FUZZ_CHECK (options.strOutput == options.strOutput.trim());
        FUZZ_CHECK (!options.bFile || commandLine.indexOf (options.strOutput) <
                                          commandLine.indexOfWholeWordIgnoreCase ("--file"));
    }

    FUZZ_CHECK (!options.bHelp || commandLine.containsIgnoreCase ("--help"));
    FUZZ_CHECK (!options.bVersion || commandLine.containsIgnoreCase ("--version"));
    FUZZ_CHECK (!options.bListOutputs || commandLine.containsIgnoreCase ("--list-outputs"));
    FUZZ_CHECK (!options.bNoWindow ||
                (options.bAutoUpdate && commandLine.containsIgnoreCase ("--no-window")));
    FUZZ_CHECK (!options.bQuiet || commandLine.containsIgnoreCase ("--quiet"));
    FUZZ_CHECK (!options.bCheck || commandLine.containsIgnoreCase ("--check"));

    checkInteger (argument);
    return 0;
}
