#include "app/Application.h"
#include "app/WellFormedUtf8.h"

#include "app/AutoUpdate.h"
#include "app/MainWindow.h"
#include "app/X11EventPump.h"
#include "interface/MidiPortProvider.h"

#include <iostream>

Application::Application (const juce::String& commandLine, std::unique_ptr<MidiPortProvider> ports)
    : commandLineString (commandLine), portProvider (std::move (ports))
{
    jassert (portProvider != nullptr);
}

Application::~Application() = default;

void Application::initialise (const juce::String&)
{
    // JUCE crashes when a window is centred without a display: say so and leave instead.
    if (juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() == nullptr)
    {
        std::cerr << "Quillon: no graphical display available (is DISPLAY set to a running X server?)"
                  << std::endl;
        setApplicationReturnValue (1);
        quit();
        return;
    }

    // Before the window: in automatic mode a message box may run while the window is built.
    eventPump = std::make_unique<X11EventPump>();
    mainWindow = std::make_unique<MainWindow> (commandLineString.trim(), *portProvider);
    mainWindow->centreWithSize (650, 400);
    mainWindow->setVisible (true);
    mainWindow->setResizeLimits (650, 400, 650, 400);
}

void Application::shutdown()
{
    // An unattended update that ends any other way than completed (closed by hand, no device,
    // damaged image) must not look like success to the script that started it.
    if (bAutoUpdate && mainWindow != nullptr && !mainWindow->hasCompletedUpdate())
        setApplicationReturnValue (1);

    mainWindow = nullptr;
    eventPump = nullptr;
}

const juce::String Application::getApplicationName()
{
    return "Quillon by brantwell";
}

const juce::String Application::getApplicationVersion()
{
    return "1.0";
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
