#include "help/HelpWindowbaseClass.h"

#include "lookandfeel/WindowColours.h"

HelpWindowbaseClass::HelpWindowbaseClass()
    : juce::DocumentWindow ("Help", WindowColours::background, juce::DocumentWindow::allButtons, true)
{
    WindowColours::apply (*this, WindowColours::background, WindowColours::titleBar);
}

HelpWindowbaseClass::~HelpWindowbaseClass() = default;

void HelpWindowbaseClass::closeButtonPressed()
{
    setVisible (false);
}
