#include "app/Application.h"
#include "app/WellFormedUtf8.h"

#include "app/ContentComp.h"
#include "app/ExitStatus.h"
#include "app/MainWindow.h"
#include "app/QuitSignals.h"
#include "app/TerminalUpdate.h"
#include "app/X11ConnectionLoss.h"
#include "app/X11EventPump.h"
#include "interface/MidiPortProvider.h"
#include "lookandfeel/WindowSizes.h"

#include <cstdlib>
#include <iostream>

#if JUCE_WINDOWS
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// (after windows.h)
#include <dxgi.h>
#include <io.h>
#else
#include <unistd.h>
#endif

namespace
{
void tellUser (const juce::String& line)
{
    std::cerr << "Quillon: " << line.toStdString() << std::endl;
}

// Why no window can be shown here, or nothing when one can.
juce::String whyNoWindowCanShow()
{
    // JUCE crashes when a window is centred without a display.
    if (juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() == nullptr)
        return "no graphical display available (is DISPLAY set to a running X server?)";

#if JUCE_WINDOWS
    // Every window of JUCE's asks DXGI for the monitors' outputs and reads through the factory
    // without checking that it was made: where DXGI is unavailable (no desktop to draw on, such as
    // Wine without an X server, which still reports a display) the first window would crash.
    IDXGIFactory* factory = nullptr;

    if (FAILED (CreateDXGIFactory (__uuidof(IDXGIFactory), reinterpret_cast<void**> (&factory))) ||
        factory == nullptr)
        return "no graphical display available (Windows offers no graphics output to draw on)";

    factory->Release();
#endif

    return {};
}

bool stderrIsTerminal()
{
#if JUCE_WINDOWS
    return _isatty (_fileno (stderr)) != 0;
#else
    return isatty (STDERR_FILENO) != 0;
#endif
}
} // namespace

Application::Application (const CommandLineOptions& optionsToUse, std::unique_ptr<MidiPortProvider> ports)
    : options (optionsToUse), portProvider (std::move (ports))
{
    jassert (portProvider != nullptr);
}

Application::~Application() = default;

void Application::initialise (const juce::String&)
{
    initialised = true;

    // --no-window never uses a display, even where one is reachable. Components reach JUCE's
    // default look-and-feel through the Desktop, whose construction connects to the X server (to
    // watch for dark mode), to :0 when DISPLAY is unset; a connection that broke mid-update (a
    // forwarded display whose SSH session went, a desktop logged out of) would end the process
    // through Xlib. A display name without a colon is refused by Xlib before any connection.
    if (options.bNoWindow)
    {
#if JUCE_LINUX || JUCE_BSD
        setenv ("DISPLAY", "none", 1);
#endif
        startTerminalUpdate();
        return;
    }

    const auto reason = whyNoWindowCanShow();

    // An unattended update needs nobody to look at a window: over SSH it runs in the terminal.
    if (reason.isNotEmpty() && options.bAutoUpdate)
    {
        startTerminalUpdate();
        return;
    }

    // Where JUCE would crash at its first window: say so and leave instead.
    if (reason.isNotEmpty())
    {
        tellUser (reason);
        setApplicationReturnValue (static_cast<int> (ExitStatus::stopped));
        quit();
        return;
    }

    // Before the window: a message box may run while the window is built.
    quitSignals = std::make_unique<QuitSignals> ([this] { systemRequestedQuit(); });
    eventPump = std::make_unique<X11EventPump>();
    mainWindow = std::make_unique<MainWindow> (options, *portProvider);
    mainWindow->centreWithSize (WindowSizes::mainWidth, WindowSizes::mainHeight);
    mainWindow->setVisible (true);
    mainWindow->setResizeLimits (WindowSizes::mainWidth, WindowSizes::mainHeight, WindowSizes::mainWidth,
                                 WindowSizes::mainHeight);
    connectionLoss = std::make_unique<X11ConnectionLoss> ([this] { displayLost(); });

    // An automatic update was started while the window was built; its outcome arrives later on the
    // message thread. Only a completed one ends the program by itself: after anything else the
    // window shows why, and the user may reconnect and try again.
    mainWindow->getContentComp()->onUploadFinished = [this] (UploadOutcome outcome)
    {
        if (options.bAutoUpdate && outcome == UploadOutcome::completed)
            systemRequestedQuit();
    };
}

void Application::startTerminalUpdate()
{
    // Ctrl-C, SIGTERM and SIGHUP quit as in the window: the upload stops between two messages.
    quitSignals = std::make_unique<QuitSignals> ([this] { systemRequestedQuit(); });
    terminalUpdate = std::make_unique<TerminalUpdate> (
        options, *portProvider, std::cerr, TerminalProgress::styleFor (options.bQuiet, stderrIsTerminal()));
    terminalUpdate->onFinished = [this] (ExitStatus status)
    {
        setApplicationReturnValue (static_cast<int> (status));
        quit();
    };
    terminalUpdate->start();
}

void Application::shutdown()
{
    if (!initialised)
    {
        // JUCE's single-instance check ended this start: it never reached a device.
        tellUser (describe (ExitStatus::alreadyRunning));

        if (options.bAutoUpdate)
            setApplicationReturnValue (static_cast<int> (ExitStatus::alreadyRunning));

        return;
    }

    if (mainWindow != nullptr)
    {
        // Ctrl-C, SIGTERM or a quit from the system end up here with the upload perhaps still
        // running: it stops between two messages, as after the close button.
        mainWindow->getContentComp()->stopUpload (MainWindow::uploadStopTimeoutMs);
        setExitStatusFromPanel();
    }

    if (terminalUpdate != nullptr)
    {
        // Ended by a signal or the system with the upload perhaps still running: it stops between
        // two messages, and the final line says so.
        terminalUpdate->stop (MainWindow::uploadStopTimeoutMs);
        setApplicationReturnValue (static_cast<int> (terminalUpdate->getExitStatus()));
    }

    terminalUpdate = nullptr;
    connectionLoss = nullptr;
    mainWindow = nullptr;
    eventPump = nullptr;
    quitSignals = nullptr;
}

void Application::setExitStatusFromPanel()
{
    if (!options.bAutoUpdate)
        return;

    const auto& panel = *mainWindow->getContentComp();
    const auto status = panel.getExitStatus();
    setApplicationReturnValue (static_cast<int> (status));

    if (status != ExitStatus::completed)
    {
        const auto nextStep = panel.describeNextStep();
        tellUser (panel.describeExitStatus() + (nextStep.isNotEmpty() ? ". " + nextStep : juce::String()));
    }
}

void Application::displayLost()
{
    tellUser ("the connection to the display was lost");
    setApplicationReturnValue (static_cast<int> (ExitStatus::stopped));

    if (mainWindow != nullptr)
    {
        mainWindow->getContentComp()->stopUpload (MainWindow::uploadStopTimeoutMs);
        setExitStatusFromPanel();
    }

    // Nothing that needs the display may run any more, JUCE's own clean-up included.
    std::_Exit (getApplicationReturnValue());
}

const juce::String Application::getApplicationName()
{
    return "Quillon by brantwell";
}

const juce::String Application::getApplicationVersion()
{
    return QUILLON_VERSION_MAJOR_MINOR;
}

bool Application::moreThanOneInstanceAllowed()
{
    return false;
}

void Application::anotherInstanceStarted (const juce::String&)
{
}

juce::String Application::joinArguments (int argc, const char* const* argv)
{
    juce::StringArray arguments;

    for (int i = 1; i < argc; ++i)
        arguments.add (juce::String::fromUTF8 (toWellFormedUtf8 (argv[i]).c_str()));

    return arguments.joinIntoString (" ");
}
