#pragma once

#include <juce_core/juce_core.h>

// Which output a name given on the command line (--output NAME) means: the output with exactly that
// name, else the one output whose name contains NAME in any letter case. Names may repeat, as with
// real devices: two outputs that both fit mean none.
struct OutputMatch
{
    int itemId = 0;               // 1-based position in the list; 0 when no single output fits
    juce::StringArray candidates; // the names of the outputs that fit (several: none is chosen)
};

OutputMatch matchOutputName (const juce::StringArray& outputNames, const juce::String& wanted);

// One line for the user when no single output fits: what was asked for and what there is.
juce::String describeOutputMismatch (const juce::StringArray& outputNames, const juce::String& wanted,
                                     const OutputMatch& match);
