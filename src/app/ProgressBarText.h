#pragma once

#include "protocol/UploadPosition.h"

#include <juce_core/juce_core.h>

#include <chrono>

// The text inside the progress bar while an upload runs: the per cent figure as the bar shows it by
// itself, and the time the rest of the upload takes, "42% – 0:44 left". Without a known image size
// (the upload has not yet taken its measure) only the per cent figure.
juce::String progressBarText (double progress, const UploadPosition& position,
                              std::chrono::milliseconds pauseAfterEachMessage);
