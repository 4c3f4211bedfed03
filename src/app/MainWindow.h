#pragma once

#include "app/CommandLine.h"

#include <juce_gui_basics/juce_gui_basics.h>

class ContentComp;
class MidiPortProvider;

// The application's only main window: fixed at 650 x 400 (the application sets the limits), its
// title built from the firmware image, its content the updater panel.
class MainWindow final : public juce::DocumentWindow
{
public:
    // options: the parsed command line, for the panel. ports: the MIDI devices the panel offers;
    // they must outlive the window.
    MainWindow (const CommandLineOptions& options, MidiPortProvider& ports);
    ~MainWindow() override;

    // Stops a running upload (waiting at most 5000 ms), then asks the application to quit.
    void closeButtonPressed() override;

    // The updater panel; null only while the window is being destroyed.
    ContentComp* getContentComp() const noexcept { return contentComp; }

    // Waits at most this long for a running upload to stop when the window closes or the
    // application quits.
    static constexpr int uploadStopTimeoutMs = 5000;

private:
    // Owned by the window as its content component.
    ContentComp* contentComp = nullptr;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainWindow)
};
