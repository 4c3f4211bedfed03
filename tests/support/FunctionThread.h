#pragma once

#include <juce_core/juce_core.h>

#include <atomic>
#include <functional>

// A juce::Thread that runs a function once (given the thread itself) and then says it finished;
// for tests whose subject must run on a thread JUCE knows.
class FunctionThread final : public juce::Thread
{
public:
    explicit FunctionThread (std::function<void (juce::Thread&)> functionToRun)
        : juce::Thread ("Test thread"), function (std::move (functionToRun))
    {
    }

    ~FunctionThread() override { stopThread (5000); }

    void run() override
    {
        function (*this);
        finished = true;
    }

    std::atomic<bool> finished { false };

private:
    const std::function<void (juce::Thread&)> function;
};
