#include "app/ProgressLine.h"

#include "protocol/UploadTiming.h"

std::optional<juce::String> ProgressLine::format (const UploadPosition& position,
                                                  std::chrono::milliseconds pausePerMessage)
{
    if (position.totalBytes == 0)
        return std::nullopt;

    const auto sent = juce::jmin (position.bytesSent, position.totalBytes);
    const auto percent = sent * 100 / position.totalBytes;

    // The per cent padded to three places, so that a line redrawn in place keeps its columns.
    juce::String line;
    line << juce::String (percent).paddedLeft (' ', 3) << "%  " << juce::String (sent) << " of "
         << juce::String (position.totalBytes) << " bytes  " << position.messagesSent << " of "
         << position.totalMessages << " messages  "
         << UploadTiming::format (UploadTiming::timeLeft (position, pausePerMessage)) << " left";
    return line;
}
