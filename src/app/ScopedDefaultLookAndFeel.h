#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Makes a look-and-feel the default of every component for as long as this object lives, then
// gives the default up if it is still that one. Declared right after the look-and-feel it names,
// it goes just before it.
class ScopedDefaultLookAndFeel final
{
public:
    explicit ScopedDefaultLookAndFeel (juce::LookAndFeel& lookAndFeelToUse);
    ~ScopedDefaultLookAndFeel();

private:
    juce::LookAndFeel& lookAndFeel;

    JUCE_DECLARE_NON_COPYABLE (ScopedDefaultLookAndFeel)
};
