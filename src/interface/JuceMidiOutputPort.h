#pragma once

#include "interface/MidiOutputPort.h"
#include "interface/WirePacer.h"

#include <atomic>
#include <memory>

class AlsaSequencerPortPresence;
class AlsaSequencerSysexOutput;

// A MIDI output opened through JUCE. Its send returns once the message's wire time has passed:
// JUCE's send does not wait for that on Linux and macOS, and on Windows only as long as the WinMM
// driver holds the buffer; startMessage leaves that wait to its caller. On Linux a message too
// long for the ALSA bridge's buffer goes in parts through a sequencer client of its own, and the
// device's presence is asked of the sequencer for its port alone.
class JuceMidiOutputPort final : public MidiOutputPort
{
public:
    explicit JuceMidiOutputPort (std::unique_ptr<juce::MidiOutput> device);
    ~JuceMidiOutputPort() override;

    void sendMessageNow (const juce::MidiMessage& message) override;
    std::chrono::steady_clock::time_point startMessage (const juce::MidiMessage& message) override;
    bool hasSendFailed() const override;
    std::optional<bool> isDevicePresent() const override;

private:
    void startWhole (const juce::MidiMessage& message);

    std::unique_ptr<juce::MidiOutput> device;
    WirePacer pacer;
#if JUCE_LINUX && JUCE_ALSA
    void startInParts (const juce::MidiMessage& message);

    std::unique_ptr<AlsaSequencerSysexOutput> partOutput; // opened for the first long message
    std::unique_ptr<AlsaSequencerPortPresence> presence;  // null: the list is read instead
#endif
    std::atomic<bool> sendFailed { false };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (JuceMidiOutputPort)
};
