#pragma once

#include "app/CommandLine.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

class MainWindow;
class MidiPortProvider;
class QuitSignals;
class TerminalUpdate;
class X11ConnectionLoss;
class X11EventPump;

// The application object: a single instance that shows the main window until it is closed, or,
// for --no-window and for --autoupdate where no display can be opened, runs the update in the
// terminal (TerminalUpdate) until it ends. The single-instance rule holds across both.
//
// It decides how the program ends: in automatic mode (--autoupdate) it quits once an upload has
// completed, and the exit status says how the update went (see ExitStatus), with one line on
// stderr whenever it is not 0.
class Application final : public juce::JUCEApplication
{
public:
    // options: the command line as main parsed it, from the arguments joined by joinArguments;
    // the one JUCE passes to initialise is not used (it quotes arguments with blanks).
    // ports: the MIDI devices the updater offers (JUCE's in the shipped program).
    Application (const CommandLineOptions& options, std::unique_ptr<MidiPortProvider> ports);
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
    // The connection to the display broke: stop the upload, say so and end at once (Xlib would).
    [[noreturn]] void displayLost();
    // Sets the exit status of an automatic update from the panel and says why when it is not 0.
    void setExitStatusFromPanel();
    // The update without a window; it ends the program when it ends.
    void startTerminalUpdate();

    const CommandLineOptions options;
    // Declared before the window, which uses it: it goes after the window.
    const std::unique_ptr<MidiPortProvider> portProvider;
    // False when JUCE ended this start before initialise (another instance runs).
    bool initialised = false;
    std::unique_ptr<QuitSignals> quitSignals;
    std::unique_ptr<MainWindow> mainWindow;
    // Instead of the window.
    std::unique_ptr<TerminalUpdate> terminalUpdate;
    // Made once there is a display, before the window; they go after the window.
    std::unique_ptr<X11EventPump> eventPump;
    std::unique_ptr<X11ConnectionLoss> connectionLoss;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Application)
};
