// JUCE's X11 declarations (X11Symbols) are public only with this switch, set before the first JUCE
// header.
#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1

#include "app/X11ConnectionLoss.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace
{
#if JUCE_LINUX || JUCE_BSD
std::function<void()> lossCallback;
XIOErrorHandler previousHandler = nullptr;

int handleConnectionLoss (::Display*)
{
    if (lossCallback)
        lossCallback();

    return 0; // Xlib ends the process now
}
#endif
} // namespace

X11ConnectionLoss::X11ConnectionLoss (std::function<void()> onLoss)
{
#if JUCE_LINUX || JUCE_BSD
    jassert (lossCallback == nullptr); // one instance at a time
    lossCallback = std::move (onLoss);
    previousHandler = juce::X11Symbols::getInstance()->xSetIOErrorHandler (handleConnectionLoss);
#else
    juce::ignoreUnused (onLoss);
#endif
}

X11ConnectionLoss::~X11ConnectionLoss()
{
#if JUCE_LINUX || JUCE_BSD
    juce::X11Symbols::getInstance()->xSetIOErrorHandler (previousHandler);
    previousHandler = nullptr;
    lossCallback = nullptr;
#endif
}
