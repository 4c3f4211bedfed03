#include "interface/ReturningOutput.h"

#include <gtest/gtest.h>

TEST (ReturningOutput, OnlyTheOneOutputWithTheLostNameIsTaken)
{
    const struct
    {
        const char* lostName;
        juce::StringArray outputs;
        int itemId;
    } cases[] = {
        // The same name comes back, wherever it now stands in the list.
        { "Pedal", { "Pedal" }, 1 },
        { "Pedal", { "Synth", "Pedal" }, 2 },
        { "Pedal", { "Synth", "Pedal", "Through" }, 2 },
        // Not (yet) back, or another device came.
        { "Pedal", {}, 0 },
        { "Pedal", { "Synth" }, 0 },
        // Names are compared whole and exactly.
        { "Pedal", { "Pedal 2" }, 0 },
        { "Pedal", { "pedal" }, 0 },
        // Two devices with the name: either could be the pedal.
        { "Pedal", { "Pedal", "Synth", "Pedal" }, 0 },
        // Nothing was lost.
        { "", { "" }, 0 },
        { "", { "Pedal" }, 0 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.lostName) + " in [" + c.outputs.joinIntoString (", ") + "]");
        EXPECT_EQ (findReturningOutput (c.lostName, c.outputs), c.itemId);
    }
}
