#pragma once

#include "support/VirtualMidiEventLog.h"

#include <atomic>
#include <memory>
#include <mutex>

// What the virtual input and output devices have in common: a name and an identifier, presence in
// the provider's list, a refusal to open, and the opens and closes, counted and written to the
// provider's event log.
//
// Every member is safe to call from any thread. Its lock is taken last (a device may hold its own).
class VirtualMidiDevice
{
public:
    const juce::String& getName() const noexcept { return name; }
    const juce::String& getIdentifier() const noexcept { return identifier; }

    // While set, opening fails (the provider returns null).
    void setFailsToOpen (bool shouldFail);

    // A vanished device leaves the provider's list and cannot be opened; reappear() undoes it.
    void vanish();
    void reappear();
    bool isPresent() const;

    int getOpenCount() const;       // successful opens so far
    int getCloseCount() const;      // ports closed (destroyed) so far
    int getFailedOpenCount() const; // opens refused (setFailsToOpen or vanished)
    int getNumOpenPorts() const;
    bool isOpen() const { return getNumOpenPorts() > 0; }

protected:
    VirtualMidiDevice (juce::String name, juce::String identifier, std::shared_ptr<VirtualMidiEventLog> log);
    ~VirtualMidiDevice();

    // Counts an attempt to open and logs it; false when the device refuses.
    bool admitOpen();
    void countClose();

private:
    const juce::String name;
    const juce::String identifier;
    const std::shared_ptr<VirtualMidiEventLog> log;

    std::atomic<bool> failsToOpen { false };
    std::atomic<bool> present { true };

    mutable std::mutex countsLock;
    int opens = 0;
    int closes = 0;
    int failedOpens = 0;

    JUCE_DECLARE_NON_COPYABLE (VirtualMidiDevice)
};
