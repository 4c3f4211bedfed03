#include "app/CheckCommand.h"

#include "app/ContentComp.h"
#include "app/ExitStatus.h"
#include "app/FirmwareFileLoader.h"
#include "firmware/BuiltInFirmwareImage.h"
#include "protocol/ImageCheck.h"

int CheckCommand::run (const CommandLineOptions& options, std::ostream& out, std::ostream& err)
{
    std::unique_ptr<FirmwareImage> image;
    juce::String name, described;

    if (options.bFile)
    {
        // The framing is checked below, where the fault's place can be told.
        FirmwareFileLoader loader (options.strFile, FirmwareFileLoader::Framing::checkedAtUpload);
        described = "the firmware file " + options.strFile;

        if (!loader.isLoaded())
        {
            err << "Quillon: "
                << (described + " " + FirmwareFileLoader::describeProblem (loader.getProblem())).toStdString()
                << std::endl;
            return static_cast<int> (ExitStatus::imageUnusable);
        }

        name = juce::File::getCurrentWorkingDirectory().getChildFile (options.strFile).getFileName();
        image = loader.takeImage();
    }
    else
    {
        image = std::make_unique<BuiltInFirmwareImage>();
        name = juce::String ("built-in, ") + ContentComp::builtInProductName + " " + image->getVersionText();
        described = "the built-in firmware image";
    }

    const auto report = ImageCheck::check (name, image->getData(), image->getSize(),
                                           std::chrono::milliseconds (options.nPause));

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
