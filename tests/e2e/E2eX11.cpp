#include "E2eX11.h"

#include <X11/Xlib.h>
#include <cstdio>

namespace E2eX11
{
int internWindowManagerAtoms()
{
    Display* display = XOpenDisplay (nullptr);

    if (display == nullptr)
    {
        std::fprintf (stderr, "cannot open the X display\n");
        return 1;
    }

    XInternAtom (display, "WM_PROTOCOLS", False);
    XInternAtom (display, "WM_DELETE_WINDOW", False);
    XSync (display, False);
    XCloseDisplay (display);
    return 0;
}

int requestClose (unsigned long windowId)
{
    Display* display = XOpenDisplay (nullptr);

    if (display == nullptr)
    {
        std::fprintf (stderr, "cannot open the X display\n");
        return 1;
    }

    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.window = Window (windowId);
    event.xclient.message_type = XInternAtom (display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long (XInternAtom (display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;

    const Status sent = XSendEvent (display, Window (windowId), False, NoEventMask, &event);
    XSync (display, False);
    XCloseDisplay (display);
    return sent != 0 ? 0 : 1;
}
} // namespace E2eX11
