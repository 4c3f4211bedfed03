#include "app/CommandLineInfo.h"

#include "app/ContentComp.h"
#include "app/ExitStatus.h"
#include "firmware/BuiltInFirmwareImage.h"
#include "interface/MidiPortProvider.h"

juce::String CommandLineInfo::getUsage()
{
    juce::String text;
    text << "Usage: quillon [--autoupdate [--outputid N | --output NAME]] [--pause MS] [--file PATH]\n"
            "       quillon --list-outputs | --help | --version\n"
            "\n"
            "Updates the firmware of a "
         << ContentComp::builtInProductName
         << " pedal started in its boot mode, over USB-MIDI.\n"
            "Without options it opens its window: choose the pedal's MIDI output, press update.\n"
            "\n"
            "Options:\n"
            "  --file PATH     send the SysEx file at PATH instead of the built-in firmware. Everything\n"
            "                  after --file is the path (blanks included), so --file comes last.\n"
            "  --autoupdate    choose the output, start the update at once, quit once it has completed\n"
            "  --outputid N    with --autoupdate: the output, counted from 1 as --list-outputs numbers them\n"
            "  --output NAME   with --autoupdate: the output by name: the one named exactly NAME, else the\n"
            "                  only one whose name contains NAME in any letter case. Wins over --outputid.\n"
            "  --inputid N     accepted and ignored\n"
            "  --pause MS      wait MS milliseconds (0 to 5000, default 0) after each SysEx message, on top\n"
            "                  of its time on the wire: for bootloaders and USB-MIDI interfaces that lose\n"
            "                  data when messages follow closely (100 to 200 is usual). Counts in the time\n"
            "                  left. Another value is refused before anything is sent (status 6).\n"
            "  --list-outputs  print the MIDI outputs, one a line: number, name, identifier (tab-separated)\n"
            "  --help          print this text\n"
            "  --version       print the version of Quillon and of its built-in firmware\n"
            "\n"
            "Options are whole words in any letter case; a number follows its option after a blank\n"
            "(--outputid 2, not --outputid=2). Other words, also those beginning with --, are ignored.\n"
            "A file that cannot be loaded is reported, and the window offers the built-in firmware instead;\n"
            "an update with --autoupdate then sends nothing.\n"
            "\n"
            "With --autoupdate Quillon quits by itself only after a completed update; otherwise its window\n"
            "shows why, and the exit status, once it is closed, says how the update ended:\n";

    for (const auto status : allExitStatuses)
        text << "  " << static_cast<int> (status) << "  " << describe (status) << "\n";

    text << "Every status but 0 comes with one line on stderr that says why.\n";
    return text;
}

juce::String CommandLineInfo::getVersion()
{
    const BuiltInFirmwareImage image;
    juce::String text;
    text << "Quillon " << QUILLON_VERSION << "\n"
         << "Built-in firmware: " << ContentComp::builtInProductName << " " << image.getVersionText() << "\n";
    return text;
}

juce::String CommandLineInfo::listOutputs (MidiPortProvider& ports)
{
    juce::String text;
    int number = 0;

    for (const auto& device : ports.getOutputDevices())
        text << ++number << "\t" << device.name << "\t" << device.identifier << "\n";

    return text;
}

std::optional<int> CommandLineInfo::run (const CommandLineOptions& options, MidiPortProvider& ports,
                                         std::ostream& out)
{
    juce::String text;

    if (options.bHelp)
        text = getUsage();
    else if (options.bVersion)
        text = getVersion();
    else if (options.bListOutputs)
        text = listOutputs (ports);
    else
        return std::nullopt;

    out << text.toStdString() << std::flush;
    return 0;
}
