#pragma once

#include "app/CommandLine.h"

#include <optional>
#include <ostream>

class MidiPortProvider;

// What the program prints instead of opening its window: --help, --version and --list-outputs.
// None of them needs a display or the single-instance lock, so a script may ask while an update
// runs.
class CommandLineInfo final
{
public:
    static juce::String getUsage();
    // The program's version and the built-in firmware's product and version.
    static juce::String getVersion();
    // The MIDI outputs as --outputid counts them: "N<TAB>name<TAB>identifier" a line.
    static juce::String listOutputs (MidiPortProvider& ports);

    // Prints what the options ask for (--help first, then --version, then --list-outputs) and
    // returns the exit status; nothing when they ask for the window.
    static std::optional<int> run (const CommandLineOptions& options, MidiPortProvider& ports,
                                   std::ostream& out);

private:
    CommandLineInfo() = delete;
};
