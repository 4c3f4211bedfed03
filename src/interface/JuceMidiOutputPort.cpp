#include "interface/JuceMidiOutputPort.h"

#include "interface/AlsaSequencerPortPresence.h"
#include "interface/AlsaSequencerSysexOutput.h"
#include "interface/SysexPartSender.h"

#ifndef QUILLON_WIRE_PACING
#define QUILLON_WIRE_PACING 1
#endif

JuceMidiOutputPort::JuceMidiOutputPort (std::unique_ptr<juce::MidiOutput> deviceToUse)
    : device (std::move (deviceToUse))
{
    jassert (device != nullptr);
#if JUCE_LINUX && JUCE_ALSA
    presence = AlsaSequencerPortPresence::open (device->getIdentifier(), device->getName());
#endif
}

JuceMidiOutputPort::~JuceMidiOutputPort() = default;

void JuceMidiOutputPort::startWhole (const juce::MidiMessage& message)
{
#if QUILLON_WIRE_PACING
    // JUCE's ALSA client is non-blocking: the send returns as soon as the event is handed to the
    // kernel, and the kernel silently drops whole events while the port's buffer is full (9-98 %
    // of an image lost when sent unpaced). CoreMIDI does not wait either. Waiting for the wire time
    // lets any device that takes MIDI's own rate receive every message whole.
    // WinMM waits only as long as its driver holds the buffer (Wine's: not at all); where it has
    // waited the wire time already, the deadline has passed and nothing is added.
    pacer.start (static_cast<std::size_t> (message.getRawDataSize()),
                 [&] { device->sendMessageNow (message); });
#else
    // A build without pacing exists only so that the end-to-end test can show that it detects
    // lost data.
    juce::ignoreUnused (pacer);
    device->sendMessageNow (message);
#endif
}

void JuceMidiOutputPort::sendMessageNow (const juce::MidiMessage& message)
{
    startMessage (message);
    pacer.finish();
}

std::chrono::steady_clock::time_point JuceMidiOutputPort::startMessage (const juce::MidiMessage& message)
{
#if JUCE_LINUX && JUCE_ALSA && QUILLON_WIRE_PACING
    if (static_cast<std::size_t> (message.getRawDataSize()) > AlsaSequencerSysexOutput::maxPartSize)
    {
        startInParts (message);
        return pacer.deadline();
    }
#endif

    startWhole (message);
    return pacer.deadline();
}

bool JuceMidiOutputPort::hasSendFailed() const
{
    return sendFailed.load();
}

std::optional<bool> JuceMidiOutputPort::isDevicePresent() const
{
#if JUCE_LINUX && JUCE_ALSA
    if (presence != nullptr)
        return presence->isPresent();
#endif
    return std::nullopt;
}

#if JUCE_LINUX && JUCE_ALSA
// JUCE hands the ALSA sequencer a whole SysEx as one event, and snd-seq-midi drops what does not
// fit a hardware port's 4 KB output buffer: a long message would reach the device cut, without a
// word. Sent as paced parts through a client of our own, it arrives whole.
void JuceMidiOutputPort::startInParts (const juce::MidiMessage& message)
{
    if (partOutput == nullptr)
        partOutput = AlsaSequencerSysexOutput::open (device->getIdentifier(), device->getName());

    const auto sent = partOutput != nullptr &&
                      SysexPartSender (pacer, AlsaSequencerSysexOutput::maxPartSize)
                          .send (message.getRawData(), static_cast<std::size_t> (message.getRawDataSize()),
                                 [this] (const std::uint8_t* part, std::size_t size)
                                 { return partOutput->send (part, size); });

    if (!sent)
        sendFailed = true;
}
#endif
