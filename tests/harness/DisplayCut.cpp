// JUCE's X11 declarations are public only with this switch, set before the first JUCE header.
#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1

#include "DisplayCut.h"

#include <juce_gui_basics/juce_gui_basics.h>

#if JUCE_LINUX || JUCE_BSD
#include <sys/socket.h>
#endif

bool cutDisplayConnection()
{
#if JUCE_LINUX || JUCE_BSD
    auto* windowSystem = juce::XWindowSystem::getInstanceWithoutCreating();
    auto* display = windowSystem != nullptr ? windowSystem->getDisplay() : nullptr;

    if (display == nullptr)
        return false;

    // The connection's number is fixed once it is open: no Xlib lock or round trip is needed.
    return shutdown (juce::X11Symbols::getInstance()->xConnectionNumber (display), SHUT_RDWR) == 0;
#else
    return false;
#endif
}
