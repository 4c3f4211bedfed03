// Helper for the ALSA end-to-end tests (test support, never installed). It answers what the
// test scripts cannot find out from outside the application without guessing:
//   list-outputs             JUCE's MIDI output list, in the order the output selector shows it
//                            ("<item id>\t<name>\t<identifier>" per line; item id = 1-based position)
//   write-image FILE COUNT [LENGTH]
//                            a SysEx image of COUNT messages with varied lengths, or all of
//                            LENGTH bytes (at least 5)
//   write-builtin-image FILE the image compiled into the application, as a file
//   sleep-latency            mean time by which std::this_thread::sleep_until oversleeps here
//   intern-wm-atoms          see E2eX11.h
//   close-window WINDOW_ID   see E2eX11.h

#include "E2eX11.h"
#include "firmware/BuiltInFirmwareImage.h"
#include "support/SysexImages.h"

#include <juce_audio_devices/juce_audio_devices.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

namespace
{
int writeFile (const char* path, const void* data, size_t size)
{
    return juce::File::getCurrentWorkingDirectory().getChildFile (path).replaceWithData (data, size) ? 0 : 1;
}

int listOutputs()
{
    int itemId = 1;

    for (const auto& device : juce::MidiOutput::getAvailableDevices())
        std::printf ("%d\t%s\t%s\n", itemId++, device.name.toRawUTF8(), device.identifier.toRawUTF8());

    return 0;
}

// Message lengths cycle through short, long and odd sizes (the protocol splits on the bytes, not
// on a fixed length); every message differs from the others (see makeSysexImage), so a lost or
// repeated message shows up in a comparison. A fixed length (0: the cycle) gives messages longer
// than any buffer on the way.
int writeImage (const char* path, int count, int fixedLength)
{
    static const int cycle[] = { 9, 599, 1031, 37, 256, 257, 600, 5, 513 };
    std::vector<int> lengths;

    for (size_t m = 0; m < static_cast<size_t> (count); ++m)
        lengths.push_back (fixedLength > 0 ? fixedLength : cycle[m % std::size (cycle)]);

    const auto image = makeSysexImage (lengths);
    return writeFile (path, image.data(), image.size());
}

int writeBuiltInImage (const char* path)
{
    const BuiltInFirmwareImage image;
    return writeFile (path, image.getData(), image.getSize());
}

// A paced send ends each message with such a sleep, so this is the least a paced upload can exceed
// the wire time by, per message, on this machine.
int sleepLatency()
{
    using Clock = std::chrono::steady_clock;
    const int sleeps = 50;
    double totalMicroseconds = 0.0;

    for (int i = 0; i < sleeps; ++i)
    {
        const auto deadline = Clock::now() + std::chrono::milliseconds (20);
        std::this_thread::sleep_until (deadline);
        totalMicroseconds += std::chrono::duration<double, std::micro> (Clock::now() - deadline).count();
    }

    std::printf ("%.0f\n", totalMicroseconds / sleeps);
    return 0;
}

int usage()
{
    std::fprintf (stderr,
                  "usage: QuillonE2eTool list-outputs | write-image FILE COUNT [LENGTH] | "
                  "write-builtin-image FILE | sleep-latency | intern-wm-atoms | close-window WINDOW_ID\n");
    return 2;
}
} // namespace

int main (int argc, char** argv)
{
    if (argc < 2)
        return usage();

    const char* command = argv[1];

    if (std::strcmp (command, "list-outputs") == 0 && argc == 2)
        return listOutputs();

    if (std::strcmp (command, "write-image") == 0 && (argc == 4 || argc == 5))
    {
        const int length = argc == 5 ? std::atoi (argv[4]) : 0;
        return argc == 5 && length < 5 ? usage() : writeImage (argv[2], std::atoi (argv[3]), length);
    }

    if (std::strcmp (command, "write-builtin-image") == 0 && argc == 3)
        return writeBuiltInImage (argv[2]);

    if (std::strcmp (command, "sleep-latency") == 0 && argc == 2)
        return sleepLatency();

    if (std::strcmp (command, "intern-wm-atoms") == 0 && argc == 2)
        return E2eX11::internWindowManagerAtoms();

    if (std::strcmp (command, "close-window") == 0 && argc == 3)
        return E2eX11::requestClose (std::strtoul (argv[2], nullptr, 0));

    return usage();
}
