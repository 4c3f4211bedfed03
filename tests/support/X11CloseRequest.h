#pragma once

#include <X11/Xlib.h>

// The message a window manager sends when the user clicks a window's close button: a client
// message WM_PROTOCOLS carrying WM_DELETE_WINDOW. Tests send it themselves, since no window manager
// runs on their X server. The atoms come from the caller, which may reach Xlib directly or through
// JUCE's loaded symbols.
inline XEvent makeX11CloseRequest (Window window, Atom wmProtocols, Atom wmDeleteWindow)
{
    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = wmProtocols;
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long> (wmDeleteWindow);
    event.xclient.data.l[1] = CurrentTime;
    return event;
}
