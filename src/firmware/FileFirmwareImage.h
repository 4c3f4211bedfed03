#pragma once

#include "firmware/FirmwareImage.h"

#include <memory>

// An image read from a SysEx file named by the user. Whether that worked is kept in
// getLoadResult(); when it did not, getData() is null and the holder keeps the image it had and
// tells the user. The content is not checked here.
class FileFirmwareImage final : public FirmwareImage
{
public:
    enum class LoadResult
    {
        loaded,
        missing,    // no such file, or a directory
        empty,      // size 0 (also FIFOs and devices, which are never opened: they could block)
        unreadable, // it could not be opened or read
        tooLarge    // larger than maxFileSize
    };

    // Far above any firmware a pedal takes (the built-in image is 236024 bytes); a bigger file is
    // not a firmware image, and reading it would only hold the window up.
    static constexpr juce::int64 maxFileSize = 64 * 1024 * 1024;

    // fileName is used exactly as given (no quotation marks are removed); a relative name is taken
    // relative to the current working directory.
    explicit FileFirmwareImage (const juce::String& fileName);
    ~FileFirmwareImage() override;

    LoadResult getLoadResult() const noexcept { return loadResult; }

private:
    LoadResult load (const juce::String& fileName);

    std::unique_ptr<juce::MemoryBlock> memoryBlock;
    LoadResult loadResult;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FileFirmwareImage)
};
