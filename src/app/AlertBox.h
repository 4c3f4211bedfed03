#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

// The one way the system shows a message box to the user: modal, with a single button.
// Tests install a handler that records the request instead of running a modal loop.
class AlertBox final
{
public:
    struct Request
    {
        juce::MessageBoxIconType icon = juce::MessageBoxIconType::NoIcon;
        juce::String title;
        juce::String message;
        juce::String buttonText;
    };

    using Handler = std::function<void (const Request&)>;

    // Message thread only. Blocks in a modal loop until the box is dismissed.
    static void show (const Request& request);

    // Replaces the modal box (null restores it). For tests and the test harness only.
    static void setHandler (Handler handler);

private:
    AlertBox() = delete;
};
