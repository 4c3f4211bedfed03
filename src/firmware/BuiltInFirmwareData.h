#pragma once

#include <cstddef>

// The firmware image compiled into the program. The definition is generated at build time from a
// .syx file whose SysEx framing the build has checked (see tools/syx-image-tool).
namespace BuiltInFirmwareData
{
extern const unsigned char bytes[];
extern const std::size_t size;
} // namespace BuiltInFirmwareData
