#pragma once

#include <functional>

// Calls onLoss when the connection to the X server breaks (Linux; elsewhere it does nothing).
//
// Xlib ends the process as soon as its handler for a broken connection returns, and JUCE's handler
// only stops the message loop: an upload thread would be cut off wherever it is, and the exit
// status would not say that the update was stopped. onLoss runs on the thread that met the broken
// connection (the message thread), must make no X calls, and is expected not to return: it stops
// what must be stopped and ends the process itself.
//
// Made once the window system is up; one instance at a time.
class X11ConnectionLoss final
{
public:
    explicit X11ConnectionLoss (std::function<void()> onLoss);
    ~X11ConnectionLoss();

    X11ConnectionLoss (const X11ConnectionLoss&) = delete;
    X11ConnectionLoss& operator= (const X11ConnectionLoss&) = delete;
};
