#pragma once

#include <juce_core/juce_core.h>

#include <mutex>

// What happened to the virtual devices of one provider, in order, across devices: "open NAME",
// "close NAME", "open failed NAME". Thread-safe.
class VirtualMidiEventLog final
{
public:
    VirtualMidiEventLog() = default;

    void add (const juce::String& event);
    juce::StringArray getEvents() const;
    void clear();

private:
    mutable std::mutex lock;
    juce::StringArray events;

    JUCE_DECLARE_NON_COPYABLE (VirtualMidiEventLog)
};
