#pragma once

#include <juce_core/juce_core.h>

// How far an upload has got: bytes and whole SysEx messages sent, of the image's totals. All zero
// before the first upload; totals stay zero for an image that is not sent (damaged, no output).
struct UploadPosition
{
    juce::uint64 bytesSent = 0;
    juce::uint64 totalBytes = 0;
    int messagesSent = 0;
    int totalMessages = 0;

    bool operator== (const UploadPosition& other) const noexcept
    {
        return bytesSent == other.bytesSent && totalBytes == other.totalBytes &&
               messagesSent == other.messagesSent && totalMessages == other.totalMessages;
    }
    bool operator!= (const UploadPosition& other) const noexcept { return !(*this == other); }
};
