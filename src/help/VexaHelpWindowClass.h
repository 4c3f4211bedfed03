#pragma once

#include "help/HelpWindowbaseClass.h"

// The product's help window: the procedure text in a window resizable by its border.
// Created hidden; the owner shows and hides it.
class VexaHelpWindowClass final : public HelpWindowbaseClass
{
public:
    VexaHelpWindowClass();

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VexaHelpWindowClass)
};
