// What following the devices costs:
//  - DevicePresenceCheck: the upload thread's check after each message that the open output is
//    still there (MidiInterfaceClass::checkDeviceConnected: on ALSA a query of the open port alone,
//    elsewhere a reading of the system's device list). Reported beside
//    the wire time of one message of the built-in image (599 bytes: 191.7 ms), which it must stay
//    far below.
//  - DeviceListPoll: one poll of the output selector's list on the message thread when nothing has
//    changed (MidiInterfaceClass::refreshDevices), made every pollIntervalMs.
// Each on JUCE's devices (/JuceDevices: real ALSA ports where there are any, e.g. in the alsa-vm
// guest; skipped without outputs) and on virtual ones (/VirtualDevices: the interface's own cost).
#include "interface/JuceMidiPortProvider.h"
#include "interface/MidiInterfaceClass.h"
#include "support/VirtualMidiPortProvider.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

namespace
{
constexpr double builtInMessageWireSeconds = 599 * 320e-6;

// The interface with its first output open, as during an upload; made and destroyed under the
// message-manager lock like the panel's.
class DeviceRig final
{
public:
    explicit DeviceRig (bool juceDevices)
    {
        if (juceDevices)
        {
            provider = std::make_unique<JuceMidiPortProvider>();
        }
        else
        {
            auto virtualPorts = std::make_unique<VirtualMidiPortProvider>();
            virtualPorts->addOutput ("Midi Through Port-0");
            virtualPorts->addOutput ("VirMIDI 0-0");
            virtualPorts->addOutput ("USB MIDI Pedal MIDI 1");
            provider = std::move (virtualPorts);
        }

        const juce::MessageManagerLock mmLock;
        midiInterface = std::make_unique<MidiInterfaceClass> (true, false, *provider);
        numOutputs = provider->getOutputDevices().size();
        midiInterface->selectOutput (numOutputs);
    }

    ~DeviceRig()
    {
        const juce::MessageManagerLock mmLock;
        midiInterface.reset();
    }

    std::unique_ptr<MidiPortProvider> provider;
    std::unique_ptr<MidiInterfaceClass> midiInterface;
    int numOutputs = 0;
};

void reportAgainstWireTime (benchmark::State& state, double seconds, int outputs)
{
    const auto perCall = seconds / static_cast<double> (state.iterations());
    state.counters["outputs"] = outputs;
    state.counters["us_per_call"] = perCall * 1e6;
    state.counters["fraction_of_message_wire_time"] = perCall / builtInMessageWireSeconds;
}
} // namespace

static void DevicePresenceCheck (benchmark::State& state, bool juceDevices)
{
    DeviceRig rig (juceDevices);

    if (!rig.midiInterface->isDeviceReady())
    {
        state.SkipWithError ("no output could be opened here");
        return;
    }

    double seconds = 0.0;

    for (auto _ : state)
    {
        const auto start = std::chrono::steady_clock::now();
        const bool connected = rig.midiInterface->checkDeviceConnected();
        seconds += std::chrono::duration<double> (std::chrono::steady_clock::now() - start).count();

        if (!connected)
        {
            state.SkipWithError ("the output went away");
            return;
        }
    }

    reportAgainstWireTime (state, seconds, rig.numOutputs);
}
BENCHMARK_CAPTURE (DevicePresenceCheck, JuceDevices, true)->Unit (benchmark::kMicrosecond);
BENCHMARK_CAPTURE (DevicePresenceCheck, VirtualDevices, false)->Unit (benchmark::kMicrosecond);

static void DeviceListPoll (benchmark::State& state, bool juceDevices)
{
    DeviceRig rig (juceDevices);

    if (rig.numOutputs == 0)
    {
        state.SkipWithError ("no outputs here");
        return;
    }

    double seconds = 0.0;

    for (auto _ : state)
    {
        const juce::MessageManagerLock mmLock; // the poll runs on the message thread
        const auto start = std::chrono::steady_clock::now();
        rig.midiInterface->refreshDevices();
        seconds += std::chrono::duration<double> (std::chrono::steady_clock::now() - start).count();
    }

    const auto perPoll = seconds / static_cast<double> (state.iterations());
    state.counters["outputs"] = rig.numOutputs;
    state.counters["us_per_poll"] = perPoll * 1e6;
    state.counters["message_thread_share"] = perPoll / (MidiInterfaceClass::pollIntervalMs * 1e-3);
}
BENCHMARK_CAPTURE (DeviceListPoll, JuceDevices, true)->Unit (benchmark::kMicrosecond);
BENCHMARK_CAPTURE (DeviceListPoll, VirtualDevices, false)->Unit (benchmark::kMicrosecond);
