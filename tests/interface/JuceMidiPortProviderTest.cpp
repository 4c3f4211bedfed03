#include "interface/JuceMidiPortProvider.h"
#include "interface/MidiInterfaceClass.h"

#include <gtest/gtest.h>

namespace
{
struct NoCallback final : juce::MidiInputCallback
{
    void handleIncomingMidiMessage (juce::MidiInput*, const juce::MidiMessage&) override {}
};
} // namespace

// Without a sequencer alsa-lib would print "open /dev/snd/seq failed" on every query.
TEST (JuceMidiPortProvider, QueriesPrintNothingAndUnknownDevicesDoNotOpen)
{
    testing::internal::CaptureStderr();

    JuceMidiPortProvider ports;
    const auto outputs = ports.getOutputDevices();
    const auto inputs = ports.getInputDevices();
    NoCallback callback;
    auto output = ports.openOutput ("no-such-device");
    auto input = ports.openInput ("no-such-device", callback);

    const auto printed = testing::internal::GetCapturedStderr();
    EXPECT_EQ (printed, "");
    EXPECT_EQ (output, nullptr);
    EXPECT_EQ (input, nullptr);

    if (!juce::File ("/dev/snd/seq").exists())
    {
        EXPECT_TRUE (outputs.isEmpty());
        EXPECT_TRUE (inputs.isEmpty());
    }
}

TEST (JuceMidiPortProvider, InterfaceOnTheSystemsDevicesListsThemAfterDisconnected)
{
    JuceMidiPortProvider ports;
    const auto devices = ports.getOutputDevices();
    MidiInterfaceClass midiInterface (true, false, ports);

    juce::ComboBox* selector = nullptr;
    for (auto* child : midiInterface.getChildren())
        if (child->getName() == "Output Selector")
            selector = dynamic_cast<juce::ComboBox*> (child);

    ASSERT_NE (selector, nullptr);
    ASSERT_EQ (selector->getNumItems(), devices.size() + 1);
    EXPECT_EQ (selector->getSelectedId(), devices.size() + 1);

    for (int i = 0; i < devices.size(); ++i)
        EXPECT_EQ (selector->getItemText (i + 1), devices[i].name);
}
