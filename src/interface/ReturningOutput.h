#pragma once

#include <juce_core/juce_core.h>

// Which listed output is the device that went away during an update and has come back: the one
// output that carries the lost output's name. After a re-enumeration its identifier may differ while
// its name is the same; when two outputs carry that name either could be the pedal, so neither is
// taken. Returns the output's item id (list position + 1), or 0 for none.
int findReturningOutput (const juce::String& lostName, const juce::StringArray& outputNames);
