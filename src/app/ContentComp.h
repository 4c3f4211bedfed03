#pragma once

#include "firmware/FirmwareImage.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

// Content of the main window. For now it holds the firmware image and applies the command line
// (--file, --autoupdate); the updater panel's controls and the upload thread join it later.
class ContentComp final : public juce::Component
{
public:
    explicit ContentComp (const juce::String& commandLine);
    ~ContentComp() override;

    // The current image (the built-in one unless --file named a usable file). Never null.
    FirmwareImage* getFirmwareImage() const noexcept { return firmwareImage.get(); }

    // Replaces the image by the named file's when the file yields data; otherwise keeps the
    // current image (a missing file has been reported to the user by then) and returns false.
    bool loadFirmwareFile (const juce::String& fileName);

private:
    std::unique_ptr<FirmwareImage> firmwareImage;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ContentComp)
};
