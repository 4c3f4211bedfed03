#include "app/FirmwareFileLoader.h"

#include "protocol/SysexImageFraming.h"

namespace
{
FirmwareFileLoader::Problem problemFor (FileFirmwareImage::LoadResult result) noexcept
{
    switch (result)
    {
        case FileFirmwareImage::LoadResult::missing:
            return FirmwareFileLoader::Problem::missing;
        case FileFirmwareImage::LoadResult::empty:
            return FirmwareFileLoader::Problem::empty;
        case FileFirmwareImage::LoadResult::unreadable:
            return FirmwareFileLoader::Problem::unreadable;
        case FileFirmwareImage::LoadResult::tooLarge:
            return FirmwareFileLoader::Problem::tooLarge;
        case FileFirmwareImage::LoadResult::loaded:
            break;
    }

    return FirmwareFileLoader::Problem::none;
}
} // namespace

FirmwareFileLoader::FirmwareFileLoader (const juce::String& fileNameToLoad, Framing framing)
    : fileName (fileNameToLoad), image (std::make_unique<FileFirmwareImage> (fileNameToLoad)),
      loadResult (image->getLoadResult()), problem (problemFor (loadResult))
{
    if (problem == Problem::none && framing == Framing::checkedNow &&
        !SysexImageFraming (image->getData(), image->getSize()).isIntact())
        problem = Problem::damaged;

    if (problem != Problem::none)
        image = nullptr;
}

std::unique_ptr<FileFirmwareImage> FirmwareFileLoader::takeImage() noexcept
{
    return std::move (image);
}

juce::String FirmwareFileLoader::describeProblem (Problem problem)
{
    switch (problem)
    {
        case Problem::missing:
            return "could not be found";
        case Problem::empty:
            return "is empty";
        case Problem::unreadable:
            return "could not be read";
        case Problem::tooLarge:
            return "is too large to be a firmware image";
        case Problem::damaged:
            return "is not a run of complete SysEx messages";
        case Problem::none:
            break;
    }

    return {};
}

juce::String FirmwareFileLoader::titleFor (const juce::String& fileName, Problem problem)
{
    switch (problem)
    {
        case Problem::missing:
            return "File " + fileName + " not found";
        case Problem::empty:
            return "File " + fileName + " is empty";
        case Problem::unreadable:
            return "File " + fileName + " could not be read";
        case Problem::tooLarge:
            return "File " + fileName + " is too large";
        case Problem::damaged:
            return "File " + fileName + " is damaged";
        case Problem::none:
            break;
    }

    return {};
}

juce::String FirmwareFileLoader::describeFailure (const juce::String& fileName, Problem problem)
{
    return "the firmware file " + fileName + " " + describeProblem (problem) + "; nothing was sent";
}
