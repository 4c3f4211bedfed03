#include "app/AutomaticStart.h"

#include "app/OutputMatch.h"

namespace
{
AutomaticStart failed (AutomaticStart start, ExitStatus status, const juce::String& line)
{
    start.mayStart = false;
    start.failureStatus = status;
    start.failureLine = line;
    return start;
}
} // namespace

AutomaticStart AutomaticStart::decide (const CommandLineOptions& options,
                                       const juce::StringArray& outputNames,
                                       FirmwareFileLoader::Problem fileProblem)
{
    AutomaticStart start;

    if (!options.bAutoUpdate)
        return start;

    // By name when one is given: a script need not know the list's order.
    const bool byName = options.strOutput.isNotEmpty();
    const auto match = matchOutputName (outputNames, options.strOutput);
    start.outputItemId = byName ? match.itemId : options.nOutputid;

    // Nobody watches an unattended update: flashing the built-in image in place of the file that
    // was asked for would report success for an update that never happened.
    if (fileProblem != FirmwareFileLoader::Problem::none)
        return failed (start, ExitStatus::imageUnusable,
                       FirmwareFileLoader::describeFailure (options.strFile, fileProblem));

    if (byName && match.itemId == 0)
        return failed (start, ExitStatus::noSuchOutput,
                       describeOutputMismatch (outputNames, options.strOutput, match));

    if (start.outputItemId < 1 || start.outputItemId > outputNames.size())
        return failed (start, ExitStatus::noSuchOutput,
                       "there is no MIDI output " + juce::String (start.outputItemId) + " (" +
                           juce::String (outputNames.size()) + " outputs); nothing was sent");

    start.mayStart = true;
    return start;
}

AutomaticStart AutomaticStart::outputNotOpened (const juce::StringArray& outputNames) const
{
    const auto n = outputItemId;
    return failed (*this, ExitStatus::noSuchOutput,
                   "MIDI output " + juce::String (n) + " (" + outputNames[n - 1] +
                       ") could not be opened; nothing was sent");
}
