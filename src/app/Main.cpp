// Entry point. JUCE's own start would hand initialise a command line in which every argument with
// a blank is quoted, which makes such paths unusable; the application gets the arguments joined
// with single blanks instead.
#include "app/Application.h"
#include "interface/JuceMidiPortProvider.h"

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
    commandLineString = Application::joinArguments (argc, argv);
    juce::JUCEApplicationBase::createInstance = &createApplication;
    return juce::JUCEApplicationBase::main (argc, const_cast<const char**> (argv));
}
