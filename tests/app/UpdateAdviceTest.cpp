#include "app/UpdateAdvice.h"

#include <gtest/gtest.h>

namespace
{
// Whether the pedal has part of the image, said plainly; one of these in every paragraph.
const char* const partSentWords = "Part of the firmware had already been sent";
const char* const oldFirmwareWords = "still has its old firmware";

struct Case
{
    UploadOutcome outcome;
    bool partSent;
    const char* happened;  // in the paragraph: what went wrong
    const char* sentState; // in the paragraph: whether the device has part of the image
    const char* nextStep;  // in the paragraph: what to do now
    const char* sentence;  // in the sentence for stderr
};
} // namespace

TEST (UpdateAdvice, EveryFailedOutcomeSaysWhatHappenedWhatWasSentAndWhatToDo)
{
    const char* const repeatInWindow =
        "start the pedal in its update mode again as described in Help, steps 1 to 7, "
        "choose the pedal under STEP1 and press update";
    const Case cases[] = {
        { UploadOutcome::deviceLost, true, "disappeared during the update", partSentWords, repeatInWindow,
          "start the pedal in its update mode again as described in Help, steps 1 to 7 and run the same "
          "command" },
        // Pulled during the first message: nothing whole reached the pedal.
        { UploadOutcome::deviceLost, false, "disappeared during the update", oldFirmwareWords, repeatInWindow,
          "run the same command again" },
        { UploadOutcome::noDevice, false, "could not be opened", oldFirmwareWords,
          "in its update mode (Help, steps 1 to 7), choose it under STEP1 and press update",
          "--list-outputs" },
        { UploadOutcome::damagedImage, false, "not a run of complete SysEx messages", oldFirmwareWords,
          "fresh copy of the firmware file", "fresh copy of the firmware file" },
        { UploadOutcome::stopped, true, "stopped before it completed", partSentWords, repeatInWindow,
          "start the pedal in its update mode again" },
        { UploadOutcome::stopped, false, "stopped before it completed", oldFirmwareWords, "press update",
          "Run the same command again" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String ((int)c.outcome) + (c.partSent ? " part sent" : " nothing sent"));
        const auto problem = problemFor (c.outcome);
        ASSERT_TRUE (problem.has_value());
        const auto advice = adviceFor (*problem, c.partSent);

        EXPECT_TRUE (advice.title.isNotEmpty());
        EXPECT_TRUE (advice.paragraph.contains (c.happened)) << advice.paragraph;
        EXPECT_TRUE (advice.paragraph.contains (c.sentState)) << advice.paragraph;
        EXPECT_TRUE (advice.paragraph.contains (c.nextStep)) << advice.paragraph;
        // The other state must not be claimed as well.
        EXPECT_FALSE (
            advice.paragraph.contains (c.sentState == partSentWords ? oldFirmwareWords : partSentWords));
        // One paragraph in the box, one sentence on the line.
        EXPECT_FALSE (advice.paragraph.containsChar ('\n'));
        EXPECT_TRUE (advice.sentence.contains (c.sentence)) << advice.sentence;
        EXPECT_TRUE (advice.sentence.endsWithChar ('.'));
        EXPECT_FALSE (advice.sentence.dropLastCharacters (1).containsAnyOf (".\n")) << advice.sentence;
    }
}

TEST (UpdateAdvice, AFileThatWasNotLoadedSentNothingAndSaysHowToSendIt)
{
    const auto advice = adviceFor (UpdateProblem::fileNotLoaded, false);
    EXPECT_TRUE (advice.paragraph.startsWith ("Nothing has been sent."));
    EXPECT_TRUE (advice.paragraph.contains ("drop it on this window or start Quillon again with --file"));
    EXPECT_TRUE (advice.sentence.endsWithChar ('.'));
}

TEST (UpdateAdvice, OnlyFailuresHaveAdvice)
{
    EXPECT_FALSE (problemFor (UploadOutcome::completed).has_value());
    EXPECT_FALSE (problemFor (UploadOutcome::none).has_value());
}
