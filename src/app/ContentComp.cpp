#include "app/ContentComp.h"

#include "app/AutoUpdate.h"
#include "app/CommandLine.h"
#include "firmware/BuiltInFirmwareImage.h"
#include "firmware/FileFirmwareImage.h"

ContentComp::ContentComp (const juce::String& commandLine)
{
    firmwareImage = std::make_unique<BuiltInFirmwareImage>();
    firmwareImage->setProductName ("Halvane Chorus");

    const auto options = parseCommandLine (commandLine);
    bAutoUpdate = options.bAutoUpdate;

    if (options.bFile)
        loadFirmwareFile (options.strFile);
}

ContentComp::~ContentComp() = default;

bool ContentComp::loadFirmwareFile (const juce::String& fileName)
{
    auto fileImage = std::make_unique<FileFirmwareImage> (fileName);

    if (fileImage->getData() == nullptr)
        return false;

    firmwareImage = std::move (fileImage);
    return true;
}
