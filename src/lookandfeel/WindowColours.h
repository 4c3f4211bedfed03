#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Colour ids that every document window of the system sets on itself when it is created, so that
// the look-and-feel can draw its title bar from the window's own colours. The background colour
// is JUCE's ResizableWindow::backgroundColourId.
namespace WindowColours
{
constexpr int titleBarColourId = 0x7f510001;

inline void apply (juce::DocumentWindow& window, juce::Colour background, juce::Colour titleBar)
{
    window.setBackgroundColour (background);
    window.setColour (titleBarColourId, titleBar);
}
} // namespace WindowColours
