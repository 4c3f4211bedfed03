#include "app/OutputMatch.h"

namespace
{
juce::String quotedList (const juce::StringArray& names)
{
    juce::StringArray quoted;

    for (const auto& name : names)
        quoted.add ("\"" + name + "\"");

    return quoted.joinIntoString (", ");
}

template <typename Fits> OutputMatch findFitting (const juce::StringArray& outputNames, Fits fits)
{
    OutputMatch match;

    for (int i = 0; i < outputNames.size(); ++i)
    {
        if (fits (outputNames[i]))
        {
            match.itemId = i + 1;
            match.candidates.add (outputNames[i]);
        }
    }

    if (match.candidates.size() != 1)
        match.itemId = 0;

    return match;
}
} // namespace

OutputMatch matchOutputName (const juce::StringArray& outputNames, const juce::String& wanted)
{
    if (wanted.isEmpty())
        return {};

    auto exact = findFitting (outputNames, [&] (const juce::String& name) { return name == wanted; });

    if (!exact.candidates.isEmpty())
        return exact;

    return findFitting (outputNames,
                        [&] (const juce::String& name) { return name.containsIgnoreCase (wanted); });
}

juce::String describeOutputMismatch (const juce::StringArray& outputNames, const juce::String& wanted,
                                     const OutputMatch& match)
{
    if (match.candidates.size() > 1)
        return "\"" + wanted + "\" fits several MIDI outputs: " + quotedList (match.candidates) +
               "; nothing was sent";

    return "no MIDI output is named \"" + wanted +
           "\" (outputs: " + (outputNames.isEmpty() ? juce::String ("none") : quotedList (outputNames)) +
           "); nothing was sent";
}
