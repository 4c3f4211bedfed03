#include "support/VirtualMidiEventLog.h"

void VirtualMidiEventLog::add (const juce::String& event)
{
    const std::scoped_lock guard (lock);
    events.add (event);
}

juce::StringArray VirtualMidiEventLog::getEvents() const
{
    const std::scoped_lock guard (lock);
    return events;
}

void VirtualMidiEventLog::clear()
{
    const std::scoped_lock guard (lock);
    events.clear();
}
