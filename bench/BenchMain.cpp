// Google Benchmark entry point: JUCE's message manager and GUI subsystem stay initialised for the
// whole run, as they are in the application, and this thread is the message thread.
#include <benchmark/benchmark.h>
#include <juce_gui_basics/juce_gui_basics.h>

int main (int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juceInitialiser;
    benchmark::Initialize (&argc, argv);

    if (benchmark::ReportUnrecognizedArguments (argc, argv))
        return 1;

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
