#include "support/VirtualMidiPortProvider.h"

namespace
{
template <typename Device>
juce::Array<juce::MidiDeviceInfo> presentDevices (const std::vector<std::shared_ptr<Device>>& devices)
{
    juce::Array<juce::MidiDeviceInfo> present;

    for (const auto& device : devices)
        if (device->isPresent())
            present.add ({ device->getName(), device->getIdentifier() });

    return present;
}
} // namespace

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
    ++outputListReads;
    const std::scoped_lock guard (lock);
    return presentDevices (outputs);
}

juce::Array<juce::MidiDeviceInfo> VirtualMidiPortProvider::getInputDevices()
{
    const std::scoped_lock guard (lock);
    return presentDevices (inputs);
}

std::unique_ptr<MidiOutputPort> VirtualMidiPortProvider::openOutput (const juce::String& identifier)
{
    const auto device = findDevice (outputs, identifier);
    return device != nullptr ? device->open() : nullptr;
}

std::unique_ptr<MidiInputPort> VirtualMidiPortProvider::openInput (const juce::String& identifier,
                                                                   juce::MidiInputCallback& callback)
{
    const auto device = findDevice (inputs, identifier);
    return device != nullptr ? device->open (callback) : nullptr;
}
