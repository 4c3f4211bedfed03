// GoogleTest entry point: JUCE's message manager and GUI subsystem stay initialised for the
// whole run, as they are in the application.
#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#if JUCE_LINUX
#include <dlfcn.h>
#endif

int main (int argc, char** argv)
{
    ::testing::InitGoogleTest (&argc, argv);

#if JUCE_LINUX
    // JUCE unloads Xlib when its window system goes, which orphans Xlib's own caches (a popup's
    // or a title's text conversion); holding the library open keeps them reachable, so that the
    // leak checker reports only real leaks, whichever test used a window.
    [[maybe_unused]] static void* const xlib = dlopen ("libX11.so.6", RTLD_LAZY);
#endif

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
