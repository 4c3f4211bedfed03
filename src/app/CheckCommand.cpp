#include "app/CheckCommand.h"

#include "app/ContentComp.h"
#include "app/ExitStatus.h"
#include "firmware/BuiltInFirmwareImage.h"
#include "firmware/FileFirmwareImage.h"
#include "protocol/ImageCheck.h"

namespace
{
juce::String describeLoadProblem (FileFirmwareImage::LoadResult result)
{
    switch (result)
    {
        case FileFirmwareImage::LoadResult::missing:
            return "could not be found";
        case FileFirmwareImage::LoadResult::empty:
            return "is empty";
        case FileFirmwareImage::LoadResult::unreadable:
            return "could not be read";
        case FileFirmwareImage::LoadResult::tooLarge:
            return "is too large to be a firmware image";
        case FileFirmwareImage::LoadResult::loaded:
            break;
    }

    return {};
}
} // namespace

int CheckCommand::run (const CommandLineOptions& options, std::ostream& out, std::ostream& err)
{
    std::unique_ptr<FirmwareImage> image;
    juce::String name, described;

    if (options.bFile)
    {
        auto fileImage = std::make_unique<FileFirmwareImage> (options.strFile);
        described = "the firmware file " + options.strFile;

        if (const auto result = fileImage->getLoadResult(); result != FileFirmwareImage::LoadResult::loaded)
        {
            err << "Quillon: " << (described + " " + describeLoadProblem (result)).toStdString() << std::endl;
            return static_cast<int> (ExitStatus::imageUnusable);
        }

        name = juce::File::getCurrentWorkingDirectory().getChildFile (options.strFile).getFileName();
        image = std::move (fileImage);
    }
    else
    {
        image = std::make_unique<BuiltInFirmwareImage>();
        name = juce::String ("built-in, ") + ContentComp::builtInProductName + " " + image->getVersionText();
        described = "the built-in firmware image";
    }

    const auto report = ImageCheck::check (name, image->getData(), image->getSize());

    if (report.fault.kind != SysexImageFraming::FaultKind::none)
    {
        err << "Quillon: "
            << (described + " is damaged: " + ImageCheck::describeFault (report.fault)).toStdString()
            << std::endl;
        return static_cast<int> (ExitStatus::imageUnusable);
    }

    out << ImageCheck::formatReport (report).toStdString() << std::flush;
    return static_cast<int> (ExitStatus::completed);
}
