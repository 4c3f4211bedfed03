#include "help/VexaHelpWindowContentComp.h"

#include "help/HelpText.h"

VexaHelpWindowContentComp::VexaHelpWindowContentComp()
{
    addAndMakeVisible (helpTextEditor);
    helpTextEditor.setMultiLine (true, true);
    helpTextEditor.setReadOnly (true);
    helpTextEditor.setText (juce::String (helpText) + ifTheUpdateStopsText, juce::sendNotification);
}

// The editor goes before the tooltip window (members are destroyed in reverse order).
VexaHelpWindowContentComp::~VexaHelpWindowContentComp() = default;

void VexaHelpWindowContentComp::resized()
{
    helpTextEditor.setBounds (0, 0, getWidth(), getHeight());
}
