#include "app/ScopedDefaultLookAndFeel.h"

ScopedDefaultLookAndFeel::ScopedDefaultLookAndFeel (juce::LookAndFeel& lookAndFeelToUse)
    : lookAndFeel (lookAndFeelToUse)
{
    juce::LookAndFeel::setDefaultLookAndFeel (&lookAndFeel);
}

ScopedDefaultLookAndFeel::~ScopedDefaultLookAndFeel()
{
    // Every window on the desktop is told of the change, so a window that shows the owner takes
    // it out first.
    if (&juce::LookAndFeel::getDefaultLookAndFeel() == &lookAndFeel)
        juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
}
