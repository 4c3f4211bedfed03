#include "firmware/FileFirmwareImage.h"

#include <new>

FileFirmwareImage::FileFirmwareImage (const juce::String& fileName) : FirmwareImage ({}, {}, 0)
{
    loadResult = load (fileName);
}

FileFirmwareImage::~FileFirmwareImage() = default;

FileFirmwareImage::LoadResult FileFirmwareImage::load (const juce::String& fileName)
{
    // getChildFile keeps an absolute name as it is and resolves a relative one (an empty name gives
    // the directory itself, which is then reported as not found).
    const auto file = juce::File::getCurrentWorkingDirectory().getChildFile (fileName);

    if (!file.existsAsFile())
        return LoadResult::missing;

    setProductName (file.getFileNameWithoutExtension());

    // Size 0 also covers FIFOs and devices, whose opening could block for ever.
    const auto fileSize = file.getSize();

    if (fileSize <= 0)
        return LoadResult::empty;

    if (fileSize > maxFileSize)
        return LoadResult::tooLarge;

    auto stream = file.createInputStream();

    if (stream == nullptr)
        return LoadResult::unreadable;

    memoryBlock = std::make_unique<juce::MemoryBlock>();

    try
    {
        stream->readIntoMemoryBlock (*memoryBlock, static_cast<ssize_t> (fileSize));
    }
    catch (const std::bad_alloc&)
    {
        memoryBlock->reset();
    }

    // A file that shrank while it was read, or could not be read at all: not the file that was
    // named, so none of it is used.
    if (memoryBlock->getSize() != static_cast<size_t> (fileSize))
    {
        memoryBlock.reset();
        return LoadResult::unreadable;
    }

    data = static_cast<const std::uint8_t*> (memoryBlock->getData());
    size = static_cast<std::int64_t> (memoryBlock->getSize());
    return LoadResult::loaded;
}
