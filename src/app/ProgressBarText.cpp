#include "app/ProgressBarText.h"

#include "protocol/UploadTiming.h"

juce::String progressBarText (double progress, const UploadPosition& position,
                              std::chrono::milliseconds pauseAfterEachMessage)
{
    // Rounded as juce::ProgressBar rounds its own figure, so the text does not jump when it goes.
    const auto percent = juce::String (juce::roundToInt (juce::jlimit (0.0, 1.0, progress) * 100.0)) + "%";

    if (position.totalMessages <= 0)
        return percent;

    return percent + " " + juce::String (juce::CharPointer_UTF8 ("\xe2\x80\x93")) + " " +
           UploadTiming::format (UploadTiming::timeLeft (position, pauseAfterEachMessage)) + " left";
}
