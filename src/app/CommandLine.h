#pragma once

#include <juce_core/juce_core.h>

// What the command line asks for. The command line is one text: the program's arguments joined
// with single blanks, without quotation marks.
struct CommandLineOptions
{
    bool bFile = false;       // --file was given as a whole word (any letter case)
    juce::String strFile;     // everything after it, trimmed: --file must be the last option
    bool bAutoUpdate = false; // --autoupdate was given as a whole word (any letter case), or --no-window
    int nOutputid = 0;        // --outputid N, at least 1 in automatic mode; 0 (not read) otherwise
    int nInputid = 0;         // --inputid N, read like nOutputid; no input side uses it
    juce::String strOutput;   // --output NAME, in automatic mode: the words up to the next option
    int nPause = 0;           // --pause MS: milliseconds to wait after each message, 0 to 5000
    juce::String pauseError;  // why the --pause value was refused; empty when it is usable or absent
    bool bHelp = false;       // --help, --version, --list-outputs: print and exit, no window
    bool bVersion = false;
    bool bListOutputs = false;
    bool bNoWindow = false; // --no-window: the update in the terminal, never a window
    bool bQuiet = false;    // --quiet: no progress in the terminal, only the final line on failure
    bool bCheck = false;    // --check: check the image (--file or the built-in one), print, exit
};

// The command-line rules: whole-word options, no equals-sign form, numbers clamped to the 32-bit
// range and raised to at least 1. Never fails: unknown text is ignored. --file takes the rest of the
// line, so the options that only this program adds (--output, --help, --version, --list-outputs,
// --no-window, --quiet, --check, --pause) count only before it; the original options keep their
// rules exactly. --no-window implies --autoupdate. Unlike the original options, --pause refuses a
// bad value (pauseError) instead of making something of it: a wrong pause would only show as a
// failed update.
CommandLineOptions parseCommandLine (const juce::String& commandLine);

// The integer value of a text: leading whitespace, one optional sign, then decimal digits up to
// the first other character. No digits give 0; values beyond the 32-bit range become its limits.
int parseCommandLineInteger (const juce::String& text);

// The range of --pause, in milliseconds.
constexpr int maxPauseMs = 5000;
