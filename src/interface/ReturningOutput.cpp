#include "interface/ReturningOutput.h"

int findReturningOutput (const juce::String& lostName, const juce::StringArray& outputNames)
{
    if (lostName.isEmpty())
        return 0;

    int found = 0;

    for (int i = 0; i < outputNames.size(); ++i)
    {
        if (outputNames[i] != lostName)
            continue;

        if (found != 0)
            return 0;

        found = i + 1;
    }

    return found;
}
