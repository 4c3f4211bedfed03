#include "support/ScopedAlertRecorder.h"

#include <gtest/gtest.h>

TEST (AlertBox, RecorderReceivesRequestInsteadOfModalBox)
{
    ScopedAlertRecorder recorder;
    AlertBox::show ({ juce::MessageBoxIconType::WarningIcon, "", "text", "ok" });

    ASSERT_EQ (recorder.alerts().size(), 1u);
    EXPECT_EQ (recorder.alerts()[0].icon, juce::MessageBoxIconType::WarningIcon);
    EXPECT_EQ (recorder.alerts()[0].message, "text");
    EXPECT_EQ (recorder.alerts()[0].buttonText, "ok");
}
