#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Whether this process reaches a display: windows on the desktop need one (the suite runs under
// xvfb-run).
inline bool hasDisplay()
{
    return juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() != nullptr;
}

// Skips the test where there is no display. A macro, because GTEST_SKIP returns from the function
// it stands in.
#define SKIP_WITHOUT_DISPLAY()                                                                               \
    if (hasDisplay())                                                                                        \
    {                                                                                                        \
    }                                                                                                        \
    else                                                                                                     \
        GTEST_SKIP() << "needs a display (the suite runs under xvfb-run)"
