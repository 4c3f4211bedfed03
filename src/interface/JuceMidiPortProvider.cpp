#include "interface/JuceMidiPortProvider.h"

#include "interface/JuceMidiInputPort.h"
#include "interface/JuceMidiOutputPort.h"

#if JUCE_LINUX && JUCE_ALSA
#include <alsa/asoundlib.h>
#endif

namespace
{
#if JUCE_LINUX && JUCE_ALSA
void ignoreAlsaError (const char*, int, const char*, int, const char*, ...)
{
}
#endif

void silenceAlsa()
{
#if JUCE_LINUX && JUCE_ALSA
    // JUCE reports no ALSA error to its callers either; what alsa-lib prints would only be noise
    // on the user's terminal ("open /dev/snd/seq failed" for each query without a sequencer).
    static const bool silenced = []
    {
        snd_lib_error_set_handler (&ignoreAlsaError);
        return true;
    }();
    juce::ignoreUnused (silenced);
#endif
}
} // namespace

JuceMidiPortProvider::JuceMidiPortProvider()
{
    silenceAlsa();
}

juce::Array<juce::MidiDeviceInfo> JuceMidiPortProvider::getOutputDevices()
{
    return juce::MidiOutput::getAvailableDevices();
}

juce::Array<juce::MidiDeviceInfo> JuceMidiPortProvider::getInputDevices()
{
    return juce::MidiInput::getAvailableDevices();
}

std::unique_ptr<MidiOutputPort> JuceMidiPortProvider::openOutput (const juce::String& identifier)
{
    if (auto device = juce::MidiOutput::openDevice (identifier))
        return std::make_unique<JuceMidiOutputPort> (std::move (device));

    return nullptr;
}

std::unique_ptr<MidiInputPort> JuceMidiPortProvider::openInput (const juce::String& identifier,
                                                                juce::MidiInputCallback& callback)
{
    if (auto device = juce::MidiInput::openDevice (identifier, &callback))
        return std::make_unique<JuceMidiInputPort> (std::move (device));

    return nullptr;
}
