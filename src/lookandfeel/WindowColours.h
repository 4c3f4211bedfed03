#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Colour ids that every document window of the system sets on itself when it is created, so that
// the look-and-feel can draw its title bar from the window's own colours. The background colour
// is JUCE's ResizableWindow::backgroundColourId.
namespace WindowColours
{
constexpr int titleBarColourId = 0x7f510001;

// The colours every document window of the system has (the main window, the help window).
inline const juce::Colour background { 0xffeff2f3 };
inline const juce::Colour titleBar { 0xff3273a1 };

inline void apply (juce::DocumentWindow& window, juce::Colour backgroundColour, juce::Colour titleBarColour)
{
    window.setBackgroundColour (backgroundColour);
    window.setColour (titleBarColourId, titleBarColour);
}
} // namespace WindowColours
