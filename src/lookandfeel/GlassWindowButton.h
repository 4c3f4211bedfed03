#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A title-bar button: a glass sphere on a grey disc with a black symbol; the toggled symbol shows
// while the toggle state is on (the maximise button while the window is full screen).
class GlassWindowButton final : public juce::Button
{
public:
    GlassWindowButton (const juce::String& name, juce::Colour sphereColour, const juce::Path& symbolShape,
                       const juce::Path& toggledSymbolShape);
    ~GlassWindowButton() override;

    void paintButton (juce::Graphics&, bool isMouseOverButton, bool isButtonDown) override;

private:
    juce::Colour sphereColour;
    juce::Path symbolShape;
    juce::Path toggledSymbolShape;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (GlassWindowButton)
};
