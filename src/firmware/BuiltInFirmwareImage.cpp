#include "firmware/BuiltInFirmwareImage.h"

#include "firmware/BuiltInFirmwareData.h"

BuiltInFirmwareImage::BuiltInFirmwareImage() : FirmwareImage ("VexaChorus", "1.0.03", 1806)
{
    data = BuiltInFirmwareData::bytes;
    size = static_cast<std::int64_t> (BuiltInFirmwareData::size);
}
