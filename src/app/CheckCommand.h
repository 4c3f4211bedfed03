#pragma once

#include "app/CommandLine.h"

#include <ostream>

// --check: reads the image (the --file, else the built-in one) and runs on it the framing check
// that guards every upload, without a display, a MIDI device or the single-instance lock. For a
// sound image it prints what a person compares with what the maker published; otherwise one line
// saying what is wrong and where.
class CheckCommand final
{
public:
    // The report on out and status 0 for a sound image; for one that cannot be loaded or is
    // damaged, one line on err and the status for an unusable image.
    static int run (const CommandLineOptions& options, std::ostream& out, std::ostream& err);

private:
    CheckCommand() = delete;
};
