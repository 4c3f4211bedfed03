#include "app/UpdateAdvice.h"

namespace
{
// The one step a user must repeat after most failures, in the words of the help text.
const char* const restartPedal =
    "start the pedal in its update mode again as described in Help, steps 1 to 7";

juce::String sentState (bool partSent)
{
    return partSent ? "Part of the firmware had already been sent, so the pedal does not have the complete "
                      "new firmware yet."
                    : "Nothing had been sent yet, so the pedal still has its old firmware.";
}
} // namespace

UpdateAdvice adviceFor (UpdateProblem problem, bool partSent)
{
    switch (problem)
    {
        case UpdateProblem::deviceLost:
            return { "The connection to the pedal was lost",
                     "The pedal's MIDI output disappeared during the update. " + sentState (partSent) +
                         " To repeat the update, " + restartPedal +
                         ", choose the pedal under STEP1 and press update; the update starts again from "
                         "the beginning.",
                     juce::String ("To repeat the update, ") + restartPedal +
                         " and run the same command again." };

        case UpdateProblem::outputNotOpened:
            return {
                "The pedal could not be reached",
                "The chosen MIDI output could not be opened, so nothing was sent and the pedal still "
                "has its old firmware. Check that the pedal is connected and in its update mode (Help, "
                "steps 1 to 7), choose it under STEP1 and press update.",
                "Check that the pedal is connected and in its update mode (Help, steps 1 to 7), find its "
                "output with --list-outputs and run the command again."
            };

        case UpdateProblem::damagedImage:
            return {
                "The firmware file is damaged",
                "The firmware is not a run of complete SysEx messages, so nothing was sent and the pedal "
                "still has its old firmware. Get a fresh copy of the firmware file and drop it on this "
                "window, then press update.",
                "Get a fresh copy of the firmware file and run the command again with it."
            };

        case UpdateProblem::fileNotLoaded:
            return { "The firmware file was not loaded",
                     "Nothing has been sent. To send that file, check its name and location, then drop it on "
                     "this window or start Quillon again with --file and its path.",
                     "Check the file's name and location and run the command again." };

        case UpdateProblem::stopped:
            return { "The update was stopped",
                     "The update was stopped before it completed. " + sentState (partSent) +
                         " To repeat it, " + restartPedal +
                         ", choose the pedal under STEP1 and press update.",
                     partSent ? juce::String ("To repeat the update, ") + restartPedal +
                                    " and run the same command again."
                              : juce::String ("Run the same command again to update the pedal.") };
    }

    return {};
}

std::optional<UpdateProblem> problemFor (UploadOutcome outcome) noexcept
{
    switch (outcome)
    {
        case UploadOutcome::deviceLost:
            return UpdateProblem::deviceLost;
        case UploadOutcome::noDevice:
            return UpdateProblem::outputNotOpened;
        case UploadOutcome::damagedImage:
            return UpdateProblem::damagedImage;
        case UploadOutcome::stopped:
            return UpdateProblem::stopped;
        case UploadOutcome::completed:
        case UploadOutcome::none:
            break;
    }

    return std::nullopt;
}
