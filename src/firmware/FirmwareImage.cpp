#include "firmware/FirmwareImage.h"

FirmwareImage::FirmwareImage (const juce::String& productName_, const juce::String& firmwareVersion_,
                              int revision_)
    : productName (productName_), firmwareVersion (firmwareVersion_), revision (revision_)
{
}

FirmwareImage::~FirmwareImage() = default;

juce::String FirmwareImage::getVersionText() const
{
    return revision != 0 ? firmwareVersion + " - R" + juce::String (revision) : firmwareVersion;
}
