#pragma once

#include <juce_events/juce_events.h>

// Hands on X events that wait in Xlib's queue while the X connection is quiet (Linux; elsewhere it
// does nothing).
//
// JUCE 7.0.5 reads X events only when its connection to the X server becomes readable. Any Xlib
// round trip made elsewhere on the message thread (the tooltip window asks where the mouse is
// several times a second) also reads whatever events have arrived into Xlib's own queue; the
// connection then has nothing more to read, and a click caught that way waits until the next X
// event, such as a mouse move. A user sees a click that did nothing. This timer, on the message
// thread, dispatches such events within a few milliseconds.
class X11EventPump final : private juce::Timer
{
public:
    X11EventPump();

private:
    // Dispatches the events waiting in Xlib's queue, if any, as JUCE does when the connection
    // becomes readable.
    void timerCallback() override;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (X11EventPump)
};
