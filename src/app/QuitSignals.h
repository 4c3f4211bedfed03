#pragma once

#include <functional>

// Turns SIGINT, SIGTERM and SIGHUP into a call of onSignal on the message thread (Linux; elsewhere
// it does nothing). Left to their defaults, SIGTERM and SIGHUP end the process at once, and JUCE's
// own SIGINT handling is noticed only when the message loop next wakes; either way a script could
// not tell a stopped update from a crash. Through here the application quits as from its close
// button: the upload stops between two messages and the exit status says so.
//
// The first signal restores the default actions, so that a second one ends the process even if
// quitting hangs. Message thread; one instance at a time.
class QuitSignals final
{
public:
    explicit QuitSignals (std::function<void()> onSignal);
    ~QuitSignals();

    QuitSignals (const QuitSignals&) = delete;
    QuitSignals& operator= (const QuitSignals&) = delete;

private:
    std::function<void()> callback;
    bool installed = false;
};
