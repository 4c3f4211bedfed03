// Entry point. JUCE's own start would hand initialise a command line in which every argument with
// a blank is quoted, which makes such paths unusable; the command line is read here instead, once,
// from the arguments joined with single blanks, and the application is handed what it asks for.
#include "app/Application.h"
#include "app/CheckCommand.h"
#include "app/CommandLine.h"
#include "app/CommandLineInfo.h"
#include "app/ExitStatus.h"
#include "app/WellFormedUtf8.h"
#include "interface/JuceMidiPortProvider.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILLON_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define QUILLON_ASAN 1
#endif

#include <iostream>
#include <string>
#include <vector>

#if QUILLON_ASAN && JUCE_LINUX
#include <dlfcn.h>
#endif

#if JUCE_WINDOWS
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>
#endif

namespace
{
// Read once, here: the application, its window and its panel are handed the result.
CommandLineOptions commandLineOptions;

juce::JUCEApplicationBase* createApplication()
{
    return new Application (commandLineOptions, std::make_unique<JuceMidiPortProvider>());
}

#if JUCE_WINDOWS
// A GUI-subsystem program starts without a console, so --help, --version and --list-outputs would
// print nothing in cmd.exe or PowerShell. A stream without a handle (not redirected by the caller)
// goes to the parent's console, if there is one.
void useParentConsole()
{
    const auto hasHandle = [] (DWORD stream)
    {
        return GetFileType (GetStdHandle (stream)) != FILE_TYPE_UNKNOWN;
    };
    const auto outHandled = hasHandle (STD_OUTPUT_HANDLE), errHandled = hasHandle (STD_ERROR_HANDLE);

    if ((outHandled && errHandled) || !AttachConsole (ATTACH_PARENT_PROCESS))
        return;

    FILE* reopened = nullptr;
    if (!outHandled && freopen_s (&reopened, "CONOUT$", "w", stdout) == 0)
        std::cout.clear();
    if (!errHandled && freopen_s (&reopened, "CONOUT$", "w", stderr) == 0)
        std::cerr.clear();
}
#endif
} // namespace

int main (int argc, char* argv[])
{
#if QUILLON_ASAN && JUCE_LINUX
    // JUCE unloads Xlib when it shuts down, which orphans Xlib's own caches; holding the library
    // open keeps them reachable, so that the leak checker reports only real leaks.
    [[maybe_unused]] static void* const xlib = dlopen ("libX11.so.6", RTLD_LAZY);
#endif

    // JUCE keeps the arguments it is given and reads them as UTF-8: hand it well-formed copies.
    std::vector<std::string> arguments;
    std::vector<const char*> argumentPointers;

#if JUCE_WINDOWS
    useParentConsole();

    // argv is in the ANSI code page here, which has no letters for most of a path's characters;
    // the UTF-16 command line, split as Windows splits it, has them all.
    juce::ignoreUnused (argv);
    arguments.push_back ("Quillon");

    for (const auto& argument : juce::JUCEApplicationBase::getCommandLineParameterArray())
        arguments.push_back (toWellFormedUtf8 (argument.toStdString()));

    argc = static_cast<int> (arguments.size());
#else
    for (int i = 0; i < argc; ++i)
        arguments.push_back (toWellFormedUtf8 (argv[i]));
#endif

    for (auto& argument : arguments)
        argumentPointers.push_back (argument.c_str());

    commandLineOptions = parseCommandLine (Application::joinArguments (argc, argumentPointers.data()).trim());

    // --help, --version, --list-outputs and --check print and end here: no window, no display, and
    // no single-instance lock (a script may list the outputs, or check a file, while an update runs).
    {
        JuceMidiPortProvider ports;

        if (const auto status = CommandLineInfo::run (commandLineOptions, ports, std::cout))
            return *status;

        // Before the window and before any device is opened: a pause that is not what the user
        // meant would show only as an update that fails.
        if (commandLineOptions.pauseError.isNotEmpty())
        {
            std::cerr << "Quillon: " << commandLineOptions.pauseError.toStdString() << "; nothing was sent"
                      << std::endl;
            return static_cast<int> (ExitStatus::badOptionValue);
        }

        if (commandLineOptions.bCheck)
            return CheckCommand::run (commandLineOptions, std::cout, std::cerr);
    }
    juce::JUCEApplicationBase::createInstance = &createApplication;
#if JUCE_WINDOWS
    // JUCE's Windows start takes no arguments (it reads the command line itself when asked).
    return juce::JUCEApplicationBase::main();
#else
    return juce::JUCEApplicationBase::main (argc, argumentPointers.data());
#endif
}
