#include "support/VirtualMidiInput.h"

#include <algorithm>

class VirtualMidiInput::Port final : public MidiInputPort
{
public:
    Port (std::shared_ptr<VirtualMidiInput> deviceToUse, juce::MidiInputCallback& callbackToUse)
        : device (std::move (deviceToUse)), callback (callbackToUse)
    {
    }

    ~Port() override { device->portClosed (*this); }

    void start() override { device->setStarted (*this, true); }
    void stop() override { device->setStarted (*this, false); }

    const std::shared_ptr<VirtualMidiInput> device;
    juce::MidiInputCallback& callback;
    bool started = false; // guarded by the device's lock

    JUCE_DECLARE_NON_COPYABLE (Port)
};

VirtualMidiInput::VirtualMidiInput (juce::String nameToUse, juce::String identifierToUse,
                                    std::shared_ptr<VirtualMidiEventLog> logToUse)
    : VirtualMidiDevice (std::move (nameToUse), std::move (identifierToUse), std::move (logToUse))
{
}

VirtualMidiInput::~VirtualMidiInput() = default;

int VirtualMidiInput::inject (const juce::MidiMessage& message)
{
    if (!isPresent())
        return 0;

    const std::scoped_lock guard (lock);
    int delivered = 0;

    for (auto* port : ports)
    {
        if (port->started)
        {
            port->callback.handleIncomingMidiMessage (nullptr, message);
            ++delivered;
        }
    }

    return delivered;
}

bool VirtualMidiInput::isStarted() const
{
    const std::scoped_lock guard (lock);
    return std::any_of (ports.begin(), ports.end(), [] (const Port* port) { return port->started; });
}

std::unique_ptr<MidiInputPort> VirtualMidiInput::open (juce::MidiInputCallback& callback)
{
    const std::scoped_lock guard (lock);

    if (!admitOpen())
        return nullptr;

    auto port = std::make_unique<Port> (shared_from_this(), callback);
    ports.push_back (port.get());
    return port;
}

void VirtualMidiInput::setStarted (Port& port, bool started)
{
    const std::scoped_lock guard (lock); // a stop waits for a callback in progress
    port.started = started;
}

void VirtualMidiInput::portClosed (Port& port)
{
    const std::scoped_lock guard (lock);
    ports.erase (std::remove (ports.begin(), ports.end(), &port), ports.end());
    countClose();
}
