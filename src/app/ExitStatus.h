#pragma once

#include "protocol/UploadOutcome.h"

// The process exit status of an automatic update (--autoupdate), one per way it can end, so that
// a script can tell them apart; a bad option value ends every start. --help and the man page print
// this table.
enum class ExitStatus
{
    completed = 0,      // every byte was sent to an output that was still there at the end
    stopped = 1,        // closed, quit or ended by a signal before the update completed
    imageUnusable = 2,  // the image is damaged, or the --file could not be loaded
    noSuchOutput = 3,   // the output asked for is not there or cannot be opened
    deviceLost = 4,     // the output device went away during the upload
    alreadyRunning = 5, // another instance of Quillon is running: nothing was sent
    badOptionValue = 6, // an option's value is out of its range or not a number: nothing was sent
};

// How an upload's outcome ends an automatic update; none (no upload has ended) counts as stopped.
ExitStatus exitStatusFor (UploadOutcome outcome) noexcept;

// One line for the user saying how an upload ended (none and stopped: it was stopped).
const char* describeOutcome (UploadOutcome outcome) noexcept;

// What the status means, in a few words (for --help and the man page).
const char* describe (ExitStatus status) noexcept;

// Every status, in order.
constexpr ExitStatus allExitStatuses[] = { ExitStatus::completed,     ExitStatus::stopped,
                                           ExitStatus::imageUnusable, ExitStatus::noSuchOutput,
                                           ExitStatus::deviceLost,    ExitStatus::alreadyRunning,
                                           ExitStatus::badOptionValue };
