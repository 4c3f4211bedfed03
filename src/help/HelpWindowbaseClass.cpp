#include "help/HelpWindowbaseClass.h"

#include "lookandfeel/WindowColours.h"

HelpWindowbaseClass::HelpWindowbaseClass()
    : juce::DocumentWindow ("Help", juce::Colour (0xffeff2f3), juce::DocumentWindow::allButtons, true)
{
    WindowColours::apply (*this, juce::Colour (0xffeff2f3), juce::Colour (0xff3273a1));
}

HelpWindowbaseClass::~HelpWindowbaseClass() = default;

void HelpWindowbaseClass::closeButtonPressed()
{
    setVisible (false);
}
