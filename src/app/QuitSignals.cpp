#include "app/QuitSignals.h"

#include <juce_events/juce_events.h>

#if JUCE_LINUX
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace
{
#if JUCE_LINUX
constexpr int handledSignals[] = { SIGINT, SIGTERM, SIGHUP };

// The signal handler may only write to the pipe: everything else happens on the message thread.
int signalPipe[2] = { -1, -1 };
struct sigaction previousActions[std::size (handledSignals)];

void restoreDefaults()
{
    for (auto sig : handledSignals)
        std::signal (sig, SIG_DFL);
}

void handleSignal (int sig)
{
    restoreDefaults();
    const auto byte = static_cast<unsigned char> (sig);
    [[maybe_unused]] const auto written = write (signalPipe[1], &byte, 1);
}
#endif
} // namespace

QuitSignals::QuitSignals (std::function<void()> onSignal) : callback (std::move (onSignal))
{
#if JUCE_LINUX
    jassert (signalPipe[0] < 0); // one instance at a time

    if (pipe2 (signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;

    juce::LinuxEventLoop::registerFdCallback (signalPipe[0],
                                              [this] (int fd)
                                              {
                                                  unsigned char bytes[16];

                                                  while (read (fd, bytes, sizeof (bytes)) > 0)
                                                  {
                                                  }

                                                  if (callback)
                                                      callback();
                                              });

    struct sigaction action = {};
    action.sa_handler = handleSignal;
    sigemptyset (&action.sa_mask);

    for (size_t i = 0; i < std::size (handledSignals); ++i)
        sigaction (handledSignals[i], &action, &previousActions[i]);

    installed = true;
#endif
}

QuitSignals::~QuitSignals()
{
#if JUCE_LINUX
    if (!installed)
        return;

    for (size_t i = 0; i < std::size (handledSignals); ++i)
        sigaction (handledSignals[i], &previousActions[i], nullptr);

    juce::LinuxEventLoop::unregisterFdCallback (signalPipe[0]);
    close (signalPipe[0]);
    close (signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
#endif
}
