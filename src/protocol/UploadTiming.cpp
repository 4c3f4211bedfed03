#include "protocol/UploadTiming.h"

#include "interface/WirePacer.h"

std::chrono::milliseconds UploadTiming::wireTime (juce::uint64 numBytes) noexcept
{
    // Whole microseconds first, so that a figure shown in milliseconds is never rounded down twice.
    const auto micros =
        std::chrono::duration_cast<std::chrono::microseconds> (WirePacer::timePerByte).count() *
        static_cast<std::chrono::microseconds::rep> (numBytes);
    return std::chrono::milliseconds ((micros + 999) / 1000);
}

std::chrono::milliseconds UploadTiming::timeLeft (const UploadPosition& position,
                                                  std::chrono::milliseconds pausePerMessage) noexcept
{
    const auto bytesLeft = position.totalBytes > position.bytesSent ? position.totalBytes - position.bytesSent
                                                                    : juce::uint64 { 0 };
    const auto messagesLeft = juce::jmax (0, position.totalMessages - position.messagesSent);
    return wireTime (bytesLeft) + pausePerMessage * messagesLeft;
}

juce::String UploadTiming::format (std::chrono::milliseconds duration)
{
    // Rounded up: "0:00 left" only once nothing is left.
    const auto totalSeconds = juce::jmax<std::chrono::milliseconds::rep> (0, (duration.count() + 999) / 1000);
    const auto hours = totalSeconds / 3600;
    const auto minutes = (totalSeconds / 60) % 60;
    const auto seconds = totalSeconds % 60;
    const auto twoDigits = [] (long long value)
    {
        return juce::String (value).paddedLeft ('0', 2);
    };

    if (hours > 0)
        return juce::String (hours) + ":" + twoDigits (minutes) + ":" + twoDigits (seconds);

    return juce::String (minutes) + ":" + twoDigits (seconds);
}
