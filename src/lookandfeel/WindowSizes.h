#pragma once

// The fixed sizes of the system's windows, in pixels. The main window cannot be resized; the help
// window opens at its size, centred, each time it is shown.
namespace WindowSizes
{
constexpr int mainWidth = 650;
constexpr int mainHeight = 400;
constexpr int helpWidth = 550;
constexpr int helpHeight = 400;
} // namespace WindowSizes
