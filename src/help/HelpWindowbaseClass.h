#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A document window titled "Help" that only hides itself when its close button is pressed: the
// owner creates it once and shows it again later.
class HelpWindowbaseClass : public juce::DocumentWindow
{
public:
    HelpWindowbaseClass();
    ~HelpWindowbaseClass() override;

    void closeButtonPressed() override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HelpWindowbaseClass)
};
