#pragma once

// Xlib helpers for the end-to-end tests, kept apart from JUCE (Xlib's macros clash with it).
namespace E2eX11
{
// Creates WM_PROTOCOLS and WM_DELETE_WINDOW on the display. Without a window manager nothing
// else creates them, and the application only looks them up: a close request would be ignored.
// The X server must run with -noreset, or it forgets them when this helper disconnects.
int internWindowManagerAtoms();

// Asks a window to close as a window manager's close button would (WM_DELETE_WINDOW).
int requestClose (unsigned long windowId);
} // namespace E2eX11
