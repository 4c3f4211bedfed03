#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Content of the help window: the procedure text, read-only and word-wrapped, filling the window.
class VexaHelpWindowContentComp final : public juce::Component
{
public:
    VexaHelpWindowContentComp();
    ~VexaHelpWindowContentComp() override;

    void resized() override;

private:
    juce::TooltipWindow helpTooltipWindow { nullptr, 700 };
    juce::TextEditor helpTextEditor;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VexaHelpWindowContentComp)
};
