#include "support/VirtualMidiOutput.h"

#include <thread>

class VirtualMidiOutput::Port final : public MidiOutputPort
{
public:
    explicit Port (std::shared_ptr<VirtualMidiOutput> deviceToUse) : device (std::move (deviceToUse)) {}
    ~Port() override { device->countClose(); }

    void sendMessageNow (const juce::MidiMessage& message) override
    {
        if (!device->take (message))
            sendFailed = true;
    }

    bool hasSendFailed() const override { return sendFailed; }

    std::optional<bool> isDevicePresent() const override
    {
        if (!device->portsAnswerPresence)
            return std::nullopt;

        return device->isPresent();
    }

private:
    const std::shared_ptr<VirtualMidiOutput> device;
    std::atomic<bool> sendFailed { false };

    JUCE_DECLARE_NON_COPYABLE (Port)
};

VirtualMidiOutput::VirtualMidiOutput (juce::String nameToUse, juce::String identifierToUse,
                                      double bytesPerSecondToUse,
                                      std::shared_ptr<VirtualMidiEventLog> logToUse)
    : VirtualMidiDevice (std::move (nameToUse), std::move (identifierToUse), std::move (logToUse)),
      bytesPerSecond (bytesPerSecondToUse)
{
}

VirtualMidiOutput::~VirtualMidiOutput() = default;

void VirtualMidiOutput::setBytesPerSecond (double newBytesPerSecond)
{
    jassert (newBytesPerSecond >= 0.0);
    bytesPerSecond = newBytesPerSecond;
}

double VirtualMidiOutput::getBytesPerSecond() const
{
    return bytesPerSecond;
}

void VirtualMidiOutput::setRefusesSends (bool shouldRefuse)
{
    refusesSends = shouldRefuse;
}

void VirtualMidiOutput::setPortsAnswerPresence (bool shouldAnswer)
{
    portsAnswerPresence = shouldAnswer;
}

void VirtualMidiOutput::setObserver (Observer newObserver)
{
    const std::scoped_lock guard (lock);
    observer = std::move (newObserver);
}

std::vector<VirtualMidiOutput::Bytes> VirtualMidiOutput::getMessages() const
{
    const std::scoped_lock guard (lock);
    return messages;
}

VirtualMidiOutput::Bytes VirtualMidiOutput::getBytes() const
{
    const std::scoped_lock guard (lock);
    Bytes all;
    all.reserve (totalBytes);

    for (const auto& message : messages)
        all.insert (all.end(), message.begin(), message.end());

    return all;
}

std::size_t VirtualMidiOutput::getMessageCount() const
{
    const std::scoped_lock guard (lock);
    return messages.size();
}

std::size_t VirtualMidiOutput::getTotalBytes() const
{
    const std::scoped_lock guard (lock);
    return totalBytes;
}

std::size_t VirtualMidiOutput::getDroppedCount() const
{
    const std::scoped_lock guard (lock);
    return dropped;
}

void VirtualMidiOutput::clearReceived()
{
    const std::scoped_lock guard (lock);
    messages.clear();
    totalBytes = 0;
    dropped = 0;
}

bool VirtualMidiOutput::waitForMessages (std::size_t count, std::chrono::milliseconds timeout) const
{
    std::unique_lock guard (lock);
    return arrived.wait_for (guard, timeout, [&] { return messages.size() >= count; });
}

bool VirtualMidiOutput::waitForBytes (std::size_t count, std::chrono::milliseconds timeout) const
{
    std::unique_lock guard (lock);
    return arrived.wait_for (guard, timeout, [&] { return totalBytes >= count; });
}

std::unique_ptr<MidiOutputPort> VirtualMidiOutput::open()
{
    if (!admitOpen())
        return nullptr;

    return std::make_unique<Port> (shared_from_this());
}

bool VirtualMidiOutput::take (const juce::MidiMessage& message)
{
    const auto start = std::chrono::steady_clock::now();

    Observer observerNow;
    {
        const std::scoped_lock guard (lock);
        observerNow = observer;
    }

    if (observerNow != nullptr)
        observerNow (message);

    if (refusesSends)
        return false;

    if (!isPresent())
    {
        const std::scoped_lock guard (lock);
        ++dropped;
        return true;
    }

    const auto size = static_cast<std::size_t> (message.getRawDataSize());

    if (const double rate = bytesPerSecond; rate > 0.0)
    {
        const auto wireTime = std::chrono::duration<double> (static_cast<double> (size) / rate);
        const auto taken = start + std::chrono::duration_cast<std::chrono::steady_clock::duration> (wireTime);
        // One sleep can wake just before the deadline on Windows (MinGW sleeps whole milliseconds).
        while (std::chrono::steady_clock::now() < taken)
            std::this_thread::sleep_until (taken);
    }

    {
        const std::scoped_lock guard (lock);
        messages.emplace_back (message.getRawData(), message.getRawData() + size);
        totalBytes += size;
    }

    arrived.notify_all();
    return true;
}
