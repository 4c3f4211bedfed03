#include "support/VirtualMidiPortProvider.h"

VirtualMidiPortProvider::VirtualMidiPortProvider() : log (std::make_shared<VirtualMidiEventLog>())
{
}

VirtualMidiPortProvider::~VirtualMidiPortProvider() = default;

VirtualMidiOutput& VirtualMidiPortProvider::addOutput (const juce::String& name, double bytesPerSecond)
{
    const std::scoped_lock guard (lock);
    const auto identifier = "virtual-out-" + juce::String (outputs.size() + 1);
    return *outputs.emplace_back (
        std::make_shared<VirtualMidiOutput> (name, identifier, bytesPerSecond, log));
}

VirtualMidiInput& VirtualMidiPortProvider::addInput (const juce::String& name)
{
    const std::scoped_lock guard (lock);
    const auto identifier = "virtual-in-" + juce::String (inputs.size() + 1);
    return *inputs.emplace_back (std::make_shared<VirtualMidiInput> (name, identifier, log));
}

VirtualMidiOutput& VirtualMidiPortProvider::getOutput (int index)
{
    const std::scoped_lock guard (lock);
    return *outputs.at (static_cast<size_t> (index));
}

VirtualMidiInput& VirtualMidiPortProvider::getInput (int index)
{
    const std::scoped_lock guard (lock);
    return *inputs.at (static_cast<size_t> (index));
}

juce::StringArray VirtualMidiPortProvider::getEvents() const
{
    return log->getEvents();
}

void VirtualMidiPortProvider::clearEvents()
{
    log->clear();
}

juce::Array<juce::MidiDeviceInfo> VirtualMidiPortProvider::getOutputDevices()
{
    const std::scoped_lock guard (lock);
    juce::Array<juce::MidiDeviceInfo> devices;

    for (const auto& output : outputs)
        if (output->isPresent())
            devices.add ({ output->getName(), output->getIdentifier() });

    return devices;
}

juce::Array<juce::MidiDeviceInfo> VirtualMidiPortProvider::getInputDevices()
{
    const std::scoped_lock guard (lock);
    juce::Array<juce::MidiDeviceInfo> devices;

    for (const auto& input : inputs)
        if (input->isPresent())
            devices.add ({ input->getName(), input->getIdentifier() });

    return devices;
}

std::unique_ptr<MidiOutputPort> VirtualMidiPortProvider::openOutput (const juce::String& identifier)
{
    std::shared_ptr<VirtualMidiOutput> device;
    {
        const std::scoped_lock guard (lock);

        for (const auto& output : outputs)
            if (output->getIdentifier() == identifier)
                device = output;
    }

    return device != nullptr ? device->open() : nullptr;
}

std::unique_ptr<MidiInputPort> VirtualMidiPortProvider::openInput (const juce::String& identifier,
                                                                   juce::MidiInputCallback& callback)
{
    std::shared_ptr<VirtualMidiInput> device;
    {
        const std::scoped_lock guard (lock);

        for (const auto& input : inputs)
            if (input->getIdentifier() == identifier)
                device = input;
    }

    return device != nullptr ? device->open (callback) : nullptr;
}
