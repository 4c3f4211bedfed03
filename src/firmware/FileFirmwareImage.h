#pragma once

#include "firmware/FirmwareImage.h"

#include <memory>

// An image read from a SysEx file named by the user. A missing file (or a directory) is reported in
// a message box; an empty or unreadable file leaves the image empty without a message. Either way
// getData() is null and the holder keeps the image it had. The content is not checked here.
class FileFirmwareImage final : public FirmwareImage
{
public:
    // fileName is used exactly as given (no quotation marks are removed); a relative name is taken
    // relative to the current working directory.
    explicit FileFirmwareImage (const juce::String& fileName);
    ~FileFirmwareImage() override;

private:
    void load (const juce::String& fileName);

    std::unique_ptr<juce::MemoryBlock> memoryBlock;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FileFirmwareImage)
};
