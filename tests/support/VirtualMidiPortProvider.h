#pragma once

#include "interface/MidiPortProvider.h"
#include "support/VirtualMidiEventLog.h"
#include "support/VirtualMidiInput.h"
#include "support/VirtualMidiOutput.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

// Virtual MIDI devices for tests, the test harness and the benchmarks, in place of JUCE's.
//
//     VirtualMidiPortProvider ports;
//     auto& pedal = ports.addOutput ("Pedal", VirtualMidiOutput::midiWireRate); // 3125 bytes/s
//     ports.addOutput ("Synth");                                                 // instant
//     MidiInterfaceClass midiInterface (true, false, ports);
//     midiInterface.selectOutput (1);
//     midiInterface.sendSysex (data, size);   // returns once "Pedal" has taken it
//     pedal.waitForMessages (1, std::chrono::seconds (5));
//     EXPECT_EQ (pedal.getMessages()[0], expectedBytes);
//
// Devices are listed in the order they were added (vanished ones left out), each with a unique
// identifier ("virtual-out-1", "virtual-in-1", ...); names may repeat, as with real devices. The
// references returned stay valid while the provider exists; ports opened from it may outlive it.
// getEvents() gives every open, close and refused open of this provider's devices in order:
// "open NAME", "close NAME", "open failed NAME". All members are thread-safe.
class VirtualMidiPortProvider final : public MidiPortProvider
{
public:
    VirtualMidiPortProvider();
    ~VirtualMidiPortProvider() override;

    VirtualMidiOutput& addOutput (const juce::String& name,
                                  double bytesPerSecond = VirtualMidiOutput::instant);
    VirtualMidiInput& addInput (const juce::String& name);

    // By position among the devices added (vanished ones included).
    VirtualMidiOutput& getOutput (int index);
    VirtualMidiInput& getInput (int index);

    juce::StringArray getEvents() const;
    void clearEvents();

    // How often the output list has been read (getOutputDevices).
    int getOutputListReads() const { return outputListReads; }

    // MidiPortProvider
    juce::Array<juce::MidiDeviceInfo> getOutputDevices() override;
    juce::Array<juce::MidiDeviceInfo> getInputDevices() override;
    std::unique_ptr<MidiOutputPort> openOutput (const juce::String& identifier) override;
    std::unique_ptr<MidiInputPort> openInput (const juce::String& identifier,
                                              juce::MidiInputCallback& callback) override;

private:
    const std::shared_ptr<VirtualMidiEventLog> log;
    std::atomic<int> outputListReads { 0 };

    mutable std::mutex lock;
    std::vector<std::shared_ptr<VirtualMidiOutput>> outputs;
    std::vector<std::shared_ptr<VirtualMidiInput>> inputs;

    // The device with that identifier, or null. Opened after the lock is released.
    template <typename Device>
    std::shared_ptr<Device> findDevice (const std::vector<std::shared_ptr<Device>>& devices,
                                        const juce::String& identifier) const
    {
        const std::scoped_lock guard (lock);

        for (const auto& device : devices)
            if (device->getIdentifier() == identifier)
                return device;

        return nullptr;
    }

    JUCE_DECLARE_NON_COPYABLE (VirtualMidiPortProvider)
};
