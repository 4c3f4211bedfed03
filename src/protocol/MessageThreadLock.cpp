#include "protocol/MessageThreadLock.h"

#include <utility>

MessageThreadLock::~MessageThreadLock() = default;

bool MessageThreadLock::enter (juce::Thread* worker)
{
    if (depth > 0)
    {
        ++depth;
        return true;
    }

    // Without a message manager, or once a quit has been posted, JUCE never grants the lock.
    auto* mm = juce::MessageManager::getInstanceWithoutCreating();

    if (mm == nullptr || mm->hasStopMessageBeenSent())
        return false;

    // While registered, a stop request wakes the wait below (abort); the thread's listener list is
    // locked while it calls us, so once removeListener returns no abort is still under way.
    if (worker != nullptr)
        worker->addListener (this);

    bool gained = false;
    const auto waitStart = std::chrono::steady_clock::now();

    // tryEnter may return false without an abort (a spurious wake-up): keep trying until gained
    // or told to stop. A quit posted meanwhile makes every try fail at once: stop then instead of
    // spinning until the worker is told to stop.
    while (!gained && !mm->hasStopMessageBeenSent() && (worker == nullptr || !worker->threadShouldExit()))
        gained = lock.tryEnter();

    waitTime += std::chrono::steady_clock::now() - waitStart;

    if (worker != nullptr)
    {
        worker->removeListener (this);

        if (gained && worker->threadShouldExit())
        {
            lock.exit();
            gained = false;
        }
    }

    if (gained)
        ++depth;

    return gained;
}

void MessageThreadLock::exit()
{
    jassert (depth > 0);

    if (--depth == 0)
        lock.exit();
}

std::chrono::steady_clock::duration MessageThreadLock::takeWaitTime() noexcept
{
    return std::exchange (waitTime, {});
}

void MessageThreadLock::exitSignalSent()
{
    lock.abort();
}
