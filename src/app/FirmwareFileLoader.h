#pragma once

#include "firmware/FileFirmwareImage.h"

#include <juce_core/juce_core.h>

#include <memory>

// Loads the firmware image of a file the user names (--file, or a file dropped on the window) and
// says what is wrong with a file that will not do, in the words the user is shown. Needs no window:
// whoever loads decides how to tell the user.
class FirmwareFileLoader final
{
public:
    enum class Problem
    {
        none,
        missing,
        empty,
        unreadable,
        tooLarge,
        damaged // read, but not a run of complete SysEx messages
    };

    // When the framing is checked. A dropped file is checked as it is loaded, while the user is
    // there to choose another; an image from --file is checked by the upload before it sends.
    enum class Framing
    {
        checkedAtUpload,
        checkedNow
    };

    FirmwareFileLoader (const juce::String& fileName, Framing framing);

    const juce::String& getFileName() const noexcept { return fileName; }
    Problem getProblem() const noexcept { return problem; }
    bool isLoaded() const noexcept { return problem == Problem::none; }
    // How reading the file went, before any check of its framing.
    FileFirmwareImage::LoadResult getLoadResult() const noexcept { return loadResult; }

    // Hands the image over: once, and only when it loaded; otherwise null.
    std::unique_ptr<FileFirmwareImage> takeImage() noexcept;

    // The problem as the end of "... but it ...", e.g. "could not be found". Empty for none.
    static juce::String describeProblem (Problem problem);
    // A message box's title, e.g. "File NAME not found". Empty for none.
    static juce::String titleFor (const juce::String& fileName, Problem problem);
    // One line for stderr when an unattended update cannot use the file.
    static juce::String describeFailure (const juce::String& fileName, Problem problem);

private:
    juce::String fileName;
    std::unique_ptr<FileFirmwareImage> image;
    FileFirmwareImage::LoadResult loadResult;
    Problem problem = Problem::none;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FirmwareFileLoader)
};
