// Entry point. JUCE's own start would hand initialise a command line in which every argument with
// a blank is quoted, which makes such paths unusable; the application gets the arguments joined
// with single blanks instead.
#include "app/Application.h"
#include "app/CommandLineInfo.h"
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

namespace
{
juce::String commandLineString;

juce::JUCEApplicationBase* createApplication()
{
    return new Application (commandLineString, std::make_unique<JuceMidiPortProvider>());
}
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

    for (int i = 0; i < argc; ++i)
        arguments.push_back (toWellFormedUtf8 (argv[i]));

    for (auto& argument : arguments)
        argumentPointers.push_back (argument.c_str());

    commandLineString = Application::joinArguments (argc, argumentPointers.data());

    // --help, --version and --list-outputs print and end here: no window, no display, and no
    // single-instance lock (a script may list the outputs while an update runs).
    {
        JuceMidiPortProvider ports;

        if (const auto status =
                CommandLineInfo::run (parseCommandLine (commandLineString.trim()), ports, std::cout))
            return *status;
    }
    juce::JUCEApplicationBase::createInstance = &createApplication;
    return juce::JUCEApplicationBase::main (argc, argumentPointers.data());
}
