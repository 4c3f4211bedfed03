#include "app/Application.h"
#include "app/WellFormedUtf8.h"

#include "app/ContentComp.h"
#include "app/ExitStatus.h"
#include "app/MainWindow.h"
#include "app/QuitSignals.h"
#include "app/X11ConnectionLoss.h"
#include "app/X11EventPump.h"
#include "interface/MidiPortProvider.h"
#include "lookandfeel/WindowSizes.h"

#include <cstdlib>
#include <iostream>

namespace
{
void tellUser (const juce::String& line)
{
    std::cerr << "Quillon: " << line.toStdString() << std::endl;
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

    // JUCE crashes when a window is centred without a display: say so and leave instead.
    if (juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() == nullptr)
    {
        tellUser ("no graphical display available (is DISPLAY set to a running X server?)");
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
