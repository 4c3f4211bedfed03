#pragma once

#include "firmware/FirmwareImage.h"

// The image compiled into the program. Points at constant program data: nothing is copied or freed.
class BuiltInFirmwareImage final : public FirmwareImage
{
public:
    BuiltInFirmwareImage();

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BuiltInFirmwareImage)
};
