#pragma once

#include "protocol/UploadOutcome.h"

#include <juce_core/juce_core.h>

#include <optional>

// Ways an update can fail that the user can do something about.
enum class UpdateProblem
{
    deviceLost,      // the output went away during the upload
    outputNotOpened, // no output was open, or the one asked for could not be opened
    damagedImage,    // the image is not a run of complete SysEx messages
    fileNotLoaded,   // the firmware file named or dropped yields no image
    stopped          // closed, quit or ended by a signal before the last message
};

// What to tell the user after a failed update: what happened, whether the pedal already has part of
// the image, and what to do now. The paragraph is for the message box of the window; the sentence
// carries the same advice on the one line an unattended update writes to stderr.
struct UpdateAdvice
{
    juce::String title;
    juce::String paragraph;
    juce::String sentence;
};

// partSent: at least one whole message reached the device before the update failed.
UpdateAdvice adviceFor (UpdateProblem problem, bool partSent);

// The problem an upload's outcome stands for; none when it completed or has not ended.
std::optional<UpdateProblem> problemFor (UploadOutcome outcome) noexcept;
