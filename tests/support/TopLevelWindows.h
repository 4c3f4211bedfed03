#pragma once

#include "app/MainWindow.h"

#include <juce_gui_basics/juce_gui_basics.h>

// The first of this process's top-level windows that is a WindowType and, where a name is given,
// has that name (the title); nullptr if there is none. Message thread only.
template <typename WindowType> WindowType* findTopLevelWindow (const juce::String& name = {})
{
    for (int i = 0; i < juce::TopLevelWindow::getNumTopLevelWindows(); ++i)
        if (auto* window = dynamic_cast<WindowType*> (juce::TopLevelWindow::getTopLevelWindow (i)))
            if (name.isEmpty() || window->getName() == name)
                return window;

    return nullptr;
}

inline MainWindow* findMainWindow()
{
    return findTopLevelWindow<MainWindow>();
}
