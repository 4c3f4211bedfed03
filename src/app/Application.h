#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

class MainWindow;
class MidiPortProvider;
class X11EventPump;

// The application object: a single instance that shows the main window until it is closed.
class Application final : public juce::JUCEApplication
{
public:
    // commandLine: the program's arguments joined with single blanks, without quotation marks.
    // It is used in place of the one JUCE passes to initialise, which quotes arguments with blanks.
    // ports: the MIDI devices the updater offers (JUCE's in the shipped program).
    Application (const juce::String& commandLine, std::unique_ptr<MidiPortProvider> ports);
    ~Application() override;

    void initialise (const juce::String& frameworkCommandLine) override;
    void shutdown() override;
    const juce::String getApplicationName() override;
    const juce::String getApplicationVersion() override;
    bool moreThanOneInstanceAllowed() override;
    void anotherInstanceStarted (const juce::String& commandLine) override;

    // Joins argv[1..] with single blanks, adding no quotation marks.
    static juce::String joinArguments (int argc, const char* const* argv);

private:
    const juce::String commandLineString;
    // Declared before the window, which uses it: it goes after the window.
    const std::unique_ptr<MidiPortProvider> portProvider;
    std::unique_ptr<MainWindow> mainWindow;
    // Made once there is a display, before the window; it goes after the window.
    std::unique_ptr<X11EventPump> eventPump;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Application)
};
