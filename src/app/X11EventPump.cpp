// JUCE's X11 declarations (XWindowSystem, X11Symbols) are public only with this switch, set before
// the first JUCE header.
#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1

#include "app/X11EventPump.h"

#include <juce_gui_basics/juce_gui_basics.h>

#if JUCE_LINUX || JUCE_BSD
#include <juce_events/native/juce_linux_EventLoopInternal.h>
#endif

namespace
{
// Short enough that a stranded click feels immediate; the check itself makes no system call.
constexpr int intervalMs = 20;
} // namespace

X11EventPump::X11EventPump()
{
#if JUCE_LINUX || JUCE_BSD
    startTimer (intervalMs);
#endif
}

void X11EventPump::timerCallback()
{
#if JUCE_LINUX || JUCE_BSD
    auto* windowSystem = juce::XWindowSystem::getInstanceWithoutCreating();
    auto* display = windowSystem != nullptr ? windowSystem->getDisplay() : nullptr;

    if (display == nullptr)
        return;

    auto* x11 = juce::X11Symbols::getInstance();
    int queued = 0;
    int connection = 0;

    {
        juce::XWindowSystemUtilities::ScopedXLock xLock;
        // QueuedAlready: only what Xlib holds, without reading from or writing to the server.
        queued = x11->xEventsQueued (display, QueuedAlready);
        connection = x11->xConnectionNumber (display);
    }

    // JUCE's own handler for the connection: it dispatches every event Xlib holds.
    if (queued > 0)
        juce::LinuxEventLoopInternal::invokeEventLoopCallbackForFd (connection);
#endif
}
