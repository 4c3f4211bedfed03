#include "app/CommandLineInfo.h"

#include "app/CommandLineOptionTable.h"
#include "app/ContentComp.h"
#include "app/ExitStatus.h"
#include "firmware/BuiltInFirmwareImage.h"
#include "interface/MidiPortProvider.h"

namespace
{
constexpr int usageWidth = 80;
constexpr int optionColumnWidth = 16; // "  --list-outputs"

// Words filled into lines of at most usageWidth characters, each line after `indent` blanks.
juce::String wrapped (const juce::String& text, int indent, int firstLineUsed = -1)
{
    const juce::String margin = juce::String::repeatedString (" ", indent);
    juce::String result = firstLineUsed < 0 ? margin : juce::String();
    int used = firstLineUsed < 0 ? indent : firstLineUsed;
    bool lineEmpty = true;

    for (const auto& word : juce::StringArray::fromTokens (text, " ", ""))
    {
        if (word.isEmpty())
            continue;

        if (!lineEmpty && used + 1 + word.length() > usageWidth)
        {
            result << "\n" << margin;
            used = indent;
            lineEmpty = true;
        }

        if (!lineEmpty)
        {
            result << " ";
            ++used;
        }

        result << word;
        used += word.length();
        lineEmpty = false;
    }

    return result + "\n";
}

juce::String formatOption (const CommandLineOptionRow& row)
{
    juce::String name { "  " };
    name << row.option;

    if (*row.argument != '\0')
        name << " " << row.argument;

    // A name too long for its column gets a line of its own.
    if (name.length() > optionColumnWidth)
        return name + "\n" + wrapped (row.summary, optionColumnWidth + 2);

    const auto padded = name.paddedRight (' ', optionColumnWidth + 2);
    return padded + wrapped (row.summary, optionColumnWidth + 2, padded.length());
}
} // namespace

juce::String CommandLineInfo::getUsage()
{
    juce::String text;
    text << "Usage: quillon [--autoupdate [--outputid N | --output NAME]] [--pause MS]\n"
            "               [--file PATH]\n"
            "       quillon --no-window [--quiet] [--outputid N | --output NAME] [--pause MS]\n"
            "               [--file PATH]\n"
            "       quillon --check [--file PATH]\n"
            "       quillon --list-outputs | --help | --version\n"
            "\n"
         << wrapped (juce::String ("Updates the firmware of a ") + ContentComp::builtInProductName +
                         " pedal started in its boot mode, over USB-MIDI.",
                     0)
         << wrapped ("Without options it opens its window: choose the pedal's MIDI output, press update.", 0)
         << "\n"
            "Options:\n";

    for (const auto& row : commandLineOptionTable)
        text << formatOption (row);

    for (const auto* rule : commandLineOptionRules)
        text << "\n" << wrapped (rule, 0);

    text << "\n"
         << wrapped ("With --autoupdate Quillon quits by itself only after a completed update; otherwise its "
                     "window shows why, and the exit status, once it is closed, says how the update ended. "
                     "Without a window it ends by itself in every case, with the same statuses:",
                     0);

    for (const auto status : allExitStatuses)
        text << "  " << static_cast<int> (status) << "  " << wrapped (describe (status), 5, 5);

    text << wrapped ("Every status but 0 comes with one line on stderr that says why. Without --autoupdate "
                     "the status is 0 (1 without a display).",
                     0)
         << "\n"
            "Headless, e.g. over SSH:\n"
            "  quillon --check --file fw.syx\n"
            "  quillon --no-window --output \"usb midi pedal\" --file fw.syx\n";
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
