#pragma once

#include "interface/InterfaceBaseClass.h"
#include "interface/MidiPortProvider.h"

#include <array>
#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>

// The device interface on MIDI: up to two selector groups (outputs, inputs), each a combo box
// listing that direction's devices plus "(Disconnected)". Choosing an entry closes the device open
// in that direction, opens the chosen one and broadcasts a change.
//
// Item ids: the device at list position i has id i + 1, "(Disconnected)" has n + 1, so a device
// number from the command line is an item id. The lists are read at construction, with the
// devices' identifiers beside the names: an item always reaches the device it named, and a device
// that has gone away since fails to open (the direction stays closed).
//
// Afterwards the lists follow the system: every pollIntervalMs, while the interface is enabled (no
// upload runs) and no selector's list is open, they are read again. What a selector shows is kept
// by the device's identifier and name; an open device that has left is closed, its selector shows
// "(Disconnected)", and a change is broadcast.
//
// An output lost during an upload (checkDeviceConnected) is awaited: at the first poll at which
// exactly one listed output carries its name (a pedal plugged in again or re-started may come back
// under another identifier), that output is selected and opened by itself, once, and a change is
// broadcast. The user choosing an entry ends the wait. Anywhere else an item is chosen by its
// device's identifier.
class MidiInterfaceClass final : public InterfaceBaseClass,
                                 public juce::ComboBox::Listener,
                                 public juce::MidiInputCallback,
                                 private juce::Timer,
                                 private juce::AsyncUpdater
{
public:
    // Message thread. The provider must outlive the interface.
    MidiInterfaceClass (bool withOutput, bool withInput, MidiPortProvider& ports);
    ~MidiInterfaceClass() override;

    void resized() override;

    // Any one thread at a time; lock-free against the MIDI input thread.
    int readData (juce::uint8* destination, unsigned int maxBytes) override;

    // Upload thread. Waits while the message thread opens or closes the output, and the other way
    // round, so the port is never changed or deleted under a send.
    int sendSysex (const juce::uint8* data, int size) override;
    void startSysex (const juce::uint8* data, int size) override;
    void waitForSysex() override; // holds no lock while it waits

    // Any thread.
    bool isDeviceReady() override;

    // Upload thread; see InterfaceBaseClass. The selector shows "(Disconnected)" once the message
    // thread has run.
    bool checkDeviceConnected() override;

    // Message thread: reads the device lists again now (the timer does this by itself). Does
    // nothing while the interface is disabled or a selector's list is open.
    void refreshDevices();

    static constexpr int pollIntervalMs = 500;

    // Message thread: the outputs the selector lists, in item-id order.
    juce::StringArray getOutputNames() const;

    int getPreferredHeight() override;
    void selectOutput (int itemId) override;
    void selectInput (int itemId) override;

    void comboBoxChanged (juce::ComboBox* box) override;
    void handleIncomingMidiMessage (juce::MidiInput* source, const juce::MidiMessage& message) override;

private:
    static constexpr int receiveBufferSize = 256;

    // One direction (outputs or inputs; Port is MidiOutputPort or MidiInputPort): its devices, its
    // selector group and the device open in it. A direction without a group has no selector and
    // never opens anything.
    template <typename Port> struct Direction
    {
        // As last read, in item-id order; "(Disconnected)" is devices.size() + 1.
        juce::Array<juce::MidiDeviceInfo> devices;
        std::unique_ptr<juce::ComboBox> selector;
        std::unique_ptr<juce::Label> label;

        // port and openDevice change only under lock: the upload thread sends on the open output.
        std::mutex lock;
        std::unique_ptr<Port> port;
        juce::MidiDeviceInfo openDevice; // what port was opened as
        int openId = 0;                  // item id of port, 0 when none is open
        std::atomic<bool> open { false };
        // Set by the upload thread's check when the open output has left the system; the message
        // thread then closes it.
        std::atomic<bool> lost { false };

        int disconnectedId() const noexcept { return devices.size() + 1; }
    };

    void timerCallback() override;
    void handleAsyncUpdate() override;

    template <typename Fn> void forEachDirection (Fn&& fn)
    {
        fn (outputs);
        fn (inputs);
    }

    template <typename Port>
    void buildDirection (Direction<Port>& direction, const juce::String& selectorName,
                         const juce::String& prompt);
    // The system's devices; one query at a time (the upload thread's check and the message thread's
    // poll may meet).
    template <typename Port> juce::Array<juce::MidiDeviceInfo> readDevices (Direction<Port>& direction);
    template <typename Port> void refresh (Direction<Port>& direction);
    template <typename Port> void select (Direction<Port>& direction, int itemId);
    template <typename Port> void open (Direction<Port>& direction, int itemId);
    template <typename Port> void close (Direction<Port>& direction);
    // Selects the awaited output when the list holds it once; true when it was tried.
    bool selectReturningOutput();

    MidiPortProvider& ports;

    const bool hasInput;
    const bool hasOutput;

    Direction<MidiOutputPort> outputs;
    Direction<MidiInputPort> inputs;

    juce::String lostOutputName; // the output the upload thread's check found gone; under outputs.lock
    // Message thread: the name of the output lost during an upload, until it is back or the user
    // chooses an entry.
    juce::String awaitedOutputName;

    // The receive ring. The MIDI input thread writes bytes and the write index, the reader the read
    // index; every byte is atomic too, because a writer that laps the reader overwrites unread ones.
    std::array<std::atomic<juce::uint8>, receiveBufferSize> receiveBuffer {};
    std::atomic<int> receiveWritePos { 0 };
    std::atomic<int> receiveReadPos { 0 };

    std::mutex deviceQueryLock;
    std::chrono::steady_clock::time_point sysexDeadline; // upload thread only

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MidiInterfaceClass)
};
