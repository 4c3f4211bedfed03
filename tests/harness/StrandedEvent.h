#pragma once

// Puts a close request for the window with this native handle into Xlib's queue without
// dispatching it, the way any Xlib round trip made on the message thread can: the event is sent,
// then XSync waits for a reply that the server sends after the event, so Xlib reads the event on
// the way. The X connection then has nothing more to read. Returns the number of events Xlib
// holds afterwards (0 where there is no X display). Message thread only.
int strandCloseRequest (void* nativeWindowHandle);

// A bare X server (Xvfb, no window manager) lacks the atoms WM_PROTOCOLS and WM_DELETE_WINDOW, and
// JUCE looks them up only if they exist when it starts: without them it cannot recognise a close
// request. This interns them on a connection of its own, open while the object lives (the server
// forgets its atoms when its last client leaves). Make it before the application starts.
class WindowManagerAtoms final
{
public:
    WindowManagerAtoms();
    ~WindowManagerAtoms();

    WindowManagerAtoms (const WindowManagerAtoms&) = delete;
    WindowManagerAtoms& operator= (const WindowManagerAtoms&) = delete;

private:
    void* display = nullptr;
};
