#include "app/WellFormedUtf8.h"
#include "app/Application.h"

#include <gtest/gtest.h>

TEST (WellFormedUtf8, KeepsWellFormedTextAndReplacesEveryIllFormedByte)
{
    const std::string fffd = "\xEF\xBF\xBD";

    const struct
    {
        std::string in, out;
    } cases[] = {
        { "", "" },
        { "--file /tmp/fw.syx", "--file /tmp/fw.syx" },
        { "\xC3\xBC \xE2\x82\xAC \xF0\x9F\x8E\xB8", "\xC3\xBC \xE2\x82\xAC \xF0\x9F\x8E\xB8" },
        { "a\xC0\x83z", "a" + fffd + fffd + "z" },         // overlong two-byte form
        { "\xE0\x80\xAF", fffd + fffd + fffd },            // overlong three-byte form
        { "\xED\xA0\x80", fffd + fffd + fffd },            // surrogate
        { "\xF4\x90\x80\x80", fffd + fffd + fffd + fffd }, // beyond U+10FFFF
        { "x\xE2\x82", "x" + fffd + fffd },                // truncated at the end
        { "\xE2\x82x", fffd + fffd + "x" },                // continuation missing
        { "\x80\xBF", fffd + fffd },                       // stray continuation bytes
        { "\xFF--file", fffd + "--file" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::PrintToString (c.in));
        EXPECT_EQ (toWellFormedUtf8 (c.in), c.out);
        EXPECT_TRUE (juce::CharPointer_UTF8::isValidString (c.out.c_str(), (int)c.out.size()));
    }
}

TEST (WellFormedUtf8, ArgumentsWithIllFormedBytesStillJoinIntoUsableText)
{
    const char* argv[] = { "Quillon", "\xC0\x83", "--autoupdate", "--file", "/tmp/\xFF.syx" };
    const auto joined = Application::joinArguments (5, argv);

    EXPECT_EQ (joined,
               juce::String::fromUTF8 ("\xEF\xBF\xBD\xEF\xBF\xBD --autoupdate --file /tmp/\xEF\xBF\xBD.syx"));
    EXPECT_TRUE (joined.containsWholeWordIgnoreCase ("--autoupdate"));
}
