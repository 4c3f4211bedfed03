// JUCE's X11 declarations are public only with this switch, set before the first JUCE header.
#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1

#include "StrandedEvent.h"

#include <juce_gui_basics/juce_gui_basics.h>

#if JUCE_LINUX || JUCE_BSD
#include "support/X11CloseRequest.h"
#endif

int strandCloseRequest (void* nativeWindowHandle)
{
    JUCE_ASSERT_MESSAGE_THREAD

#if JUCE_LINUX || JUCE_BSD
    auto* windowSystem = juce::XWindowSystem::getInstanceWithoutCreating();
    auto* display = windowSystem != nullptr ? windowSystem->getDisplay() : nullptr;

    if (display == nullptr || nativeWindowHandle == nullptr)
        return 0;

    auto* x11 = juce::X11Symbols::getInstance();
    const auto window = (::Window) reinterpret_cast<juce::pointer_sized_uint> (nativeWindowHandle);

    juce::XWindowSystemUtilities::ScopedXLock xLock;
    auto event = makeX11CloseRequest (window, x11->xInternAtom (display, "WM_PROTOCOLS", False),
                                      x11->xInternAtom (display, "WM_DELETE_WINDOW", False));

    x11->xSendEvent (display, window, False, NoEventMask, &event);
    x11->xSync (display, False);
    return x11->xEventsQueued (display, QueuedAlready);
#else
    juce::ignoreUnused (nativeWindowHandle);
    return 0;
#endif
}

WindowManagerAtoms::WindowManagerAtoms()
{
#if JUCE_LINUX || JUCE_BSD
    // JUCE loads Xlib's functions when its window system starts, which is later.
    auto* x11 = juce::X11Symbols::getInstance();

    if (!x11->loadAllSymbols())
        return;

    auto* connection = x11->xOpenDisplay (nullptr);

    if (connection == nullptr)
        return;

    x11->xInternAtom (connection, "WM_PROTOCOLS", False);
    x11->xInternAtom (connection, "WM_DELETE_WINDOW", False);
    x11->xSync (connection, False);
    display = connection;
#endif
}

WindowManagerAtoms::~WindowManagerAtoms()
{
#if JUCE_LINUX || JUCE_BSD
    if (display != nullptr)
        juce::X11Symbols::getInstance()->xCloseDisplay (static_cast<::Display*> (display));
#endif
}
