#pragma once

#include "protocol/UploadPosition.h"

#include <chrono>
#include <optional>

// An upload's progress as one line for a terminal or a log: per cent, bytes and messages sent of
// the totals, and the time left from the wire time of what is still to go:
//   " 42%  99136 of 236024 bytes  166 of 396 messages  0:44 left"
class ProgressLine final
{
public:
    // Nothing for an image without bytes (no upload began, or the image is not sent). The per cent
    // is rounded down, so that 100% means every byte.
    static std::optional<juce::String> format (const UploadPosition& position,
                                               std::chrono::milliseconds pausePerMessage);

private:
    ProgressLine() = delete;
};
