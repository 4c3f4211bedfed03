#pragma once

#include "app/CommandLine.h"
#include "app/ExitStatus.h"
#include "app/FirmwareFileLoader.h"

#include <juce_core/juce_core.h>

// How an automatic update (--autoupdate) begins, decided before anything is sent: the output it
// selects, and whether it may start or ends at once with an exit status and one line saying why.
// Pure, so that the panel and a front without a window decide alike.
struct AutomaticStart
{
    // The output to select, as an item id (1: the first output); 0 selects none. A number past
    // the end of the list is still selected (it opens nothing), as the selector would take it.
    int outputItemId = 0;
    // Start the upload once the output is open. When false nothing is sent, for failureStatus.
    bool mayStart = false;
    ExitStatus failureStatus = ExitStatus::stopped;
    juce::String failureLine;

    // options: the command line; outputNames: the outputs in item-id order; fileProblem: how
    // loading the --file went (none when it loaded or none was named). Outside automatic mode
    // nothing is selected and nothing starts, with no line.
    static AutomaticStart decide (const CommandLineOptions& options, const juce::StringArray& outputNames,
                                  FirmwareFileLoader::Problem fileProblem);

    // This start after its output, listed, did not open: it ends with noSuchOutput.
    AutomaticStart outputNotOpened (const juce::StringArray& outputNames) const;
};
