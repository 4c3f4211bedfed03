// GoogleTest entry point: JUCE's message manager and GUI subsystem stay initialised for the
// whole run, as they are in the application.
#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

int main (int argc, char** argv)
{
    ::testing::InitGoogleTest (&argc, argv);

    // Run as JUCE runs an application: only then does it install its X error handlers. Without
    // them Xlib's default handler ends the process on the first BadAtom that a window raises
    // under an X server with no window manager. The function itself is never called.
    juce::JUCEApplicationBase::createInstance = []() -> juce::JUCEApplicationBase*
    {
        return nullptr;
    };

    juce::ScopedJuceInitialiser_GUI juceInitialiser;
    return RUN_ALL_TESTS();
}
