#include "E2eX11.h"

#include "support/X11CloseRequest.h"

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

    auto event = makeX11CloseRequest (Window (windowId), XInternAtom (display, "WM_PROTOCOLS", False),
                                      XInternAtom (display, "WM_DELETE_WINDOW", False));

    const Status sent = XSendEvent (display, Window (windowId), False, NoEventMask, &event);
    XSync (display, False);
    XCloseDisplay (display);
    return sent != 0 ? 0 : 1;
}
} // namespace E2eX11
