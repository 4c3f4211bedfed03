#include "support/VirtualMidiDevice.h"

VirtualMidiDevice::VirtualMidiDevice (juce::String nameToUse, juce::String identifierToUse,
                                      std::shared_ptr<VirtualMidiEventLog> logToUse)
    : name (std::move (nameToUse)), identifier (std::move (identifierToUse)), log (std::move (logToUse))
{
    jassert (log != nullptr);
}

VirtualMidiDevice::~VirtualMidiDevice() = default;

void VirtualMidiDevice::setFailsToOpen (bool shouldFail)
{
    failsToOpen = shouldFail;
}

void VirtualMidiDevice::vanish()
{
    present = false;
}

void VirtualMidiDevice::reappear()
{
    present = true;
}

bool VirtualMidiDevice::isPresent() const
{
    return present;
}

int VirtualMidiDevice::getOpenCount() const
{
    const std::scoped_lock guard (countsLock);
    return opens;
}

int VirtualMidiDevice::getCloseCount() const
{
    const std::scoped_lock guard (countsLock);
    return closes;
}

int VirtualMidiDevice::getFailedOpenCount() const
{
    const std::scoped_lock guard (countsLock);
    return failedOpens;
}

int VirtualMidiDevice::getNumOpenPorts() const
{
    const std::scoped_lock guard (countsLock);
    return opens - closes;
}

bool VirtualMidiDevice::admitOpen()
{
    const std::scoped_lock guard (countsLock);

    if (failsToOpen || !present)
    {
        ++failedOpens;
        log->add ("open failed " + name);
        return false;
    }

    ++opens;
    log->add ("open " + name);
    return true;
}

void VirtualMidiDevice::countClose()
{
    const std::scoped_lock guard (countsLock);
    ++closes;
    log->add ("close " + name);
}
