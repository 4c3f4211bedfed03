// The virtual devices stand in for drivers in many tests and benchmarks: check that they keep the
// promises those rely on.
#include "support/VirtualMidiPortProvider.h"

#include <gtest/gtest.h>

#include <thread>

using namespace std::chrono_literals;

namespace
{
juce::MidiMessage sysex (int size)
{
    std::vector<juce::uint8> bytes ((size_t)size, 0x22);
    bytes.front() = 0xf0;
    bytes.back() = 0xf7;
    return juce::MidiMessage (bytes.data(), size);
}

struct Recorder final : juce::MidiInputCallback
{
    void handleIncomingMidiMessage (juce::MidiInput*, const juce::MidiMessage& message) override
    {
        received.push_back (message.getRawDataSize());
    }

    std::vector<int> received;
};
} // namespace

TEST (VirtualMidiPortProvider, ListsPresentDevicesInOrderWithDistinctIdentifiers)
{
    VirtualMidiPortProvider ports;
    ports.addOutput ("Pedal");
    ports.addOutput ("Pedal");
    ports.addOutput ("Synth").vanish();
    ports.addInput ("In");

    const auto outputs = ports.getOutputDevices();
    ASSERT_EQ (outputs.size(), 2);
    EXPECT_EQ (outputs[0].name, "Pedal");
    EXPECT_EQ (outputs[1].name, "Pedal");
    EXPECT_NE (outputs[0].identifier, outputs[1].identifier);
    ASSERT_EQ (ports.getInputDevices().size(), 1);
    EXPECT_EQ (ports.getInputDevices()[0].name, "In");
}

TEST (VirtualMidiPortProvider, SendReturnsOnceTheDeviceHasTakenTheMessageAtItsRate)
{
    VirtualMidiPortProvider ports;
    auto& pedal = ports.addOutput ("Pedal", VirtualMidiOutput::midiWireRate);
    auto port = ports.openOutput (pedal.getIdentifier());
    ASSERT_NE (port, nullptr);

    std::size_t takenBeforeReturn = 0;
    pedal.setObserver ([&] (const juce::MidiMessage&) { takenBeforeReturn = pedal.getTotalBytes(); });

    const auto start = std::chrono::steady_clock::now();
    port->sendMessageNow (sysex (100));
    const auto elapsed = std::chrono::steady_clock::now() - start;

    EXPECT_GE (elapsed, 32ms); // 100 bytes at 3125 bytes/s
    EXPECT_EQ (takenBeforeReturn, 0u);
    EXPECT_EQ (pedal.getTotalBytes(), 100u);
    EXPECT_EQ (pedal.getMessageCount(), 1u);
}

TEST (VirtualMidiPortProvider, RecordsEveryMessageAndWakesWaiters)
{
    VirtualMidiPortProvider ports;
    auto& pedal = ports.addOutput ("Pedal");
    auto port = ports.openOutput (pedal.getIdentifier());

    EXPECT_FALSE (pedal.waitForMessages (1, 10ms));

    std::thread sender (
        [&]
        {
            for (int size : { 10, 20, 70 })
                port->sendMessageNow (sysex (size));
        });

    EXPECT_TRUE (pedal.waitForBytes (100, 5s));
    EXPECT_TRUE (pedal.waitForMessages (3, 5s));
    sender.join();

    const auto messages = pedal.getMessages();
    ASSERT_EQ (messages.size(), 3u);
    const auto second = sysex (20);
    EXPECT_EQ (messages[1], std::vector<juce::uint8> (second.getRawData(), second.getRawData() + 20));
    EXPECT_EQ (pedal.getBytes().size(), 100u);
}

TEST (VirtualMidiPortProvider, RefusesToOpenWhenToldOrVanishedAndDropsSendsOfAVanishedDevice)
{
    VirtualMidiPortProvider ports;
    auto& pedal = ports.addOutput ("Pedal");

    pedal.setFailsToOpen (true);
    EXPECT_EQ (ports.openOutput (pedal.getIdentifier()), nullptr);
    pedal.setFailsToOpen (false);

    auto port = ports.openOutput (pedal.getIdentifier());
    ASSERT_NE (port, nullptr);
    pedal.vanish();
    EXPECT_TRUE (ports.getOutputDevices().isEmpty());
    EXPECT_EQ (ports.openOutput (pedal.getIdentifier()), nullptr);

    port->sendMessageNow (sysex (10));
    EXPECT_EQ (pedal.getMessageCount(), 0u);
    EXPECT_EQ (pedal.getDroppedCount(), 1u);

    port.reset();
    EXPECT_EQ (pedal.getOpenCount(), 1);
    EXPECT_EQ (pedal.getCloseCount(), 1);
    EXPECT_EQ (pedal.getFailedOpenCount(), 2);
    EXPECT_EQ (ports.getEvents().joinIntoString (", "),
               "open failed Pedal, open Pedal, open failed Pedal, close Pedal");
}

TEST (VirtualMidiPortProvider, InputDeliversOnlyBetweenStartAndStop)
{
    VirtualMidiPortProvider ports;
    auto& in = ports.addInput ("In");
    Recorder recorder;
    auto port = ports.openInput (in.getIdentifier(), recorder);
    ASSERT_NE (port, nullptr);

    EXPECT_EQ (in.inject (sysex (5)), 0);
    port->start();
    std::thread midiThread ([&] { in.inject (sysex (6)); });
    midiThread.join();
    port->stop();
    EXPECT_EQ (in.inject (sysex (7)), 0);

    EXPECT_EQ (recorder.received, std::vector<int> { 6 });
    port.reset();
    EXPECT_FALSE (in.isOpen());
}

// The interface may be destroyed after the provider: its port keeps the device alive.
TEST (VirtualMidiPortProvider, PortsOutliveTheProvider)
{
    std::unique_ptr<MidiOutputPort> port;
    VirtualMidiOutput* pedal = nullptr;
    {
        VirtualMidiPortProvider ports;
        pedal = &ports.addOutput ("Pedal");
        port = ports.openOutput (pedal->getIdentifier());
    }

    port->sendMessageNow (sysex (10));
    EXPECT_EQ (pedal->getMessageCount(), 1u);
    EXPECT_TRUE (pedal->isOpen());
}
