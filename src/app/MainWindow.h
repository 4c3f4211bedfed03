#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class ContentComp;

// The application's only main window: fixed at 650 x 400 (the application sets the limits), its
// title built from the firmware image, its content the updater panel.
class MainWindow final : public juce::DocumentWindow
{
public:
    explicit MainWindow (const juce::String& commandLine);
    ~MainWindow() override;

    void closeButtonPressed() override;

private:
    // Owned by the window as its content component.
    ContentComp* contentComp = nullptr;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainWindow)
};
