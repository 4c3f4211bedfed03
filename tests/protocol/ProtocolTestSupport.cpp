#include "ProtocolTestSupport.h"

namespace protocoltest
{

SendRecorder::SendRecorder (VirtualMidiOutput& outputToWatch, EventLog& logToUse)
    : output (outputToWatch), log (logToUse)
{
    output.setObserver (
        [this] (const juce::MidiMessage& message)
        {
            log.add ("send " + std::to_string (message.getRawDataSize()));

            std::unique_lock<std::mutex> lock (mutex);
            ++sendsBegun;
            changed.notify_all();
            changed.wait (lock, [this] { return sendsAllowed < 0 || sendsBegun <= sendsAllowed; });
        });
}

SendRecorder::~SendRecorder()
{
    output.setObserver (nullptr);
}

void SendRecorder::allowSends (int count)
{
    const std::lock_guard<std::mutex> lock (mutex);
    sendsAllowed = count;
    changed.notify_all();
}

int SendRecorder::getSendsBegun() const
{
    const std::lock_guard<std::mutex> lock (mutex);
    return sendsBegun;
}

bool SendRecorder::waitForSendsBegun (int count, int timeoutMs)
{
    return pumpUntil ([this, count] { return getSendsBegun() >= count; }, timeoutMs);
}

EnablementRecorder::EnablementRecorder (juce::Component& toWatch, EventLog& logToUse)
    : watched (toWatch), log (logToUse)
{
    watched.addComponentListener (this);
}

EnablementRecorder::~EnablementRecorder()
{
    watched.removeComponentListener (this);
}

void EnablementRecorder::componentEnablementChanged (juce::Component& component)
{
    const bool enabled = component.isEnabled();
    log.add (enabled ? "enabled" : "disabled");

    if (onChange)
        onChange (enabled);
}

void ProgressRecorder::changeListenerCallback (juce::ChangeBroadcaster* source)
{
    ++numCallbacks;

    if (source != watched)
        foreignSource = true;

    if (!juce::MessageManager::getInstance()->currentThreadHasLockedMessageManager())
        unlocked = true;

    const auto status = watched->getStatusText();
    const auto progress = watched->getProgress();

    if (status != lastStatus)
        log.add ("status " + status.toStdString());

    if (progress != lastProgress)
        log.add (progressEvent (progress));

    lastStatus = status;
    lastProgress = progress;
}

void PrintTo (const DamagedCase& c, std::ostream* os)
{
    *os << c.name;
}

std::string progressEvent (double value)
{
    return "progress " + juce::String (value, 2).toStdString();
}

TestFirmwareImage::TestFirmwareImage (std::vector<juce::uint8> imageBytes)
    : FirmwareImage ("Test", "1.0", 1), bytes (std::move (imageBytes))
{
    if (!bytes.empty())
    {
        data = bytes.data();
        size = static_cast<juce::int64> (bytes.size());
    }
}

StandaloneAppMarker::StandaloneAppMarker() : previous (juce::JUCEApplicationBase::createInstance)
{
    juce::JUCEApplicationBase::createInstance = []() -> juce::JUCEApplicationBase*
    {
        return nullptr;
    };
}

StandaloneAppMarker::~StandaloneAppMarker()
{
    juce::JUCEApplicationBase::createInstance = previous;
}

} // namespace protocoltest
