#include "firmware/FileFirmwareImage.h"

#include "app/AlertBox.h"

#include <limits>
#include <new>

FileFirmwareImage::FileFirmwareImage (const juce::String& fileName) : FirmwareImage ({}, {}, 0)
{
    load (fileName);
}

FileFirmwareImage::~FileFirmwareImage() = default;

void FileFirmwareImage::load (const juce::String& fileName)
{
    // getChildFile keeps an absolute name as it is and resolves a relative one (an empty name gives
    // the directory itself, which is then reported as not found).
    const auto file = juce::File::getCurrentWorkingDirectory().getChildFile (fileName);

    if (!file.existsAsFile())
    {
        AlertBox::show ({ juce::MessageBoxIconType::NoIcon, "File " + fileName + " not found",
                          "A firmware file was specified, but it could not be found.\n"
                          " The application will use the build-in firmware version.",
                          "ok" });
        return;
    }

    setProductName (file.getFileNameWithoutExtension());

    // Size 0 also covers FIFOs and devices, whose opening could block for ever. A file beyond the
    // 32-bit byte count could not be sent whole, so it counts as unreadable too.
    const auto fileSize = file.getSize();

    if (fileSize <= 0 || fileSize > static_cast<juce::int64> (std::numeric_limits<std::uint32_t>::max()))
        return;

    auto stream = file.createInputStream();

    if (stream == nullptr)
        return;

    memoryBlock = std::make_unique<juce::MemoryBlock>();

    try
    {
        stream->readIntoMemoryBlock (*memoryBlock, static_cast<ssize_t> (fileSize));
    }
    catch (const std::bad_alloc&)
    {
        memoryBlock->reset();
    }

    if (memoryBlock->getSize() > 0)
    {
        data = static_cast<const std::uint8_t*> (memoryBlock->getData());
        size = static_cast<std::int64_t> (memoryBlock->getSize());
    }
}
