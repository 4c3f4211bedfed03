// Prints JUCE's MIDI output list in the order the output selector shows it, as --outputid counts:
// "<number>\t<name>\t<identifier>" per line, numbered from 1.
#include <juce_audio_devices/juce_audio_devices.h>

#include <cstdio>

int main()
{
    const juce::ScopedJuceInitialiser_GUI juceInitialiser;
    int number = 1;

    for (const auto& device : juce::MidiOutput::getAvailableDevices())
        std::printf ("%d\t%s\t%s\n", number++, device.name.toRawUTF8(), device.identifier.toRawUTF8());

    return 0;
}
