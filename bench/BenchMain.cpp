// Google Benchmark entry point. JUCE is initialised for the whole run, and this thread runs JUCE's
// message loop just as the application's message thread does (blocking until a message arrives),
// so that the upload thread gets the message-manager lock as quickly as it would in the program.
// The benchmarks themselves run on a thread of their own and take the message-manager lock for
// what the message thread would do.
#include <benchmark/benchmark.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <thread>

int main (int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juceInitialiser;
    benchmark::Initialize (&argc, argv);

    if (benchmark::ReportUnrecognizedArguments (argc, argv))
        return 1;

    std::thread runner (
        []
        {
            benchmark::RunSpecifiedBenchmarks();
            juce::MessageManager::getInstance()->stopDispatchLoop();
        });

    juce::MessageManager::getInstance()->runDispatchLoop();
    runner.join();
    benchmark::Shutdown();
    return 0;
}
