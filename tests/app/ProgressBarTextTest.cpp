#include "app/ProgressBarText.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

// Built-in-sized numbers: 14904 bytes in 40 messages take 4769 ms on the wire (320 us a byte).
TEST (ProgressBarText, PerCentAndTheTimeTheRestTakes)
{
    const juce::String dash (juce::CharPointer_UTF8 ("\xe2\x80\x93"));
    const struct
    {
        double progress;
        UploadPosition position;
        std::chrono::milliseconds pause;
        juce::String text;
    } cases[] = {
        // Start, middle, after the last message; without a pause.
        { 0.0, { 0, 14904, 0, 40 }, 0ms, "0% " + dash + " 0:05 left" },
        { 0.5, { 7452, 14904, 20, 40 }, 0ms, "50% " + dash + " 0:03 left" },
        { 1.0, { 14904, 14904, 40, 40 }, 0ms, "100% " + dash + " 0:00 left" },
        // With 100 ms after each message still to go.
        { 0.0, { 0, 14904, 0, 40 }, 100ms, "0% " + dash + " 0:09 left" },
        { 0.5, { 7452, 14904, 20, 40 }, 100ms, "50% " + dash + " 0:05 left" },
        { 0.99, { 14000, 14904, 39, 40 }, 100ms, "99% " + dash + " 0:01 left" },
        { 1.0, { 14904, 14904, 40, 40 }, 100ms, "100% " + dash + " 0:00 left" },
        // A long one: minutes and seconds.
        { 0.01, { 10, 1000000, 1, 5000 }, 0ms, "1% " + dash + " 5:20 left" },
        // The upload has not taken its measure yet: no time.
        { 0.0, {}, 100ms, "0%" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.text);
        EXPECT_EQ (progressBarText (c.progress, c.position, c.pause), c.text);
    }
}
