#pragma once

#include <cstddef>

// The program's icon as a 64 x 64 PNG, for the window and the task bar. The definition is
// rendered and embedded at build time from packaging/icons/quillon.svg (see cmake/Icons.cmake).
namespace WindowIconData
{
extern const unsigned char bytes[];
extern const std::size_t size;
} // namespace WindowIconData
