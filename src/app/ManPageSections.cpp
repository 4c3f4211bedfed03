#include "app/ManPageSections.h"

#include "app/CommandLineOptionTable.h"
#include "app/ExitStatus.h"

#include <cctype>

namespace
{
bool isWordCharacter (char c)
{
    return std::isalnum (static_cast<unsigned char> (c)) != 0;
}

// A summary reads as a sentence on the page: capital first, full stop last.
std::string asSentence (std::string text)
{
    if (!text.empty())
        text[0] = static_cast<char> (std::toupper (static_cast<unsigned char> (text[0])));

    if (!text.empty() && text.back() != '.')
        text += '.';

    return text;
}

std::string escapeDashes (const std::string& word)
{
    std::string escaped;

    for (const auto c : word)
        escaped += (c == '-') ? std::string ("\\-") : std::string (1, c);

    return escaped;
}

bool replaceLine (std::string& page, const std::string& marker, const std::string& replacement)
{
    const auto at = page.find (marker + "\n");

    if (at == std::string::npos || (at > 0 && page[at - 1] != '\n'))
        return false;

    page.replace (at, marker.size() + 1, replacement);
    return true;
}
} // namespace

std::string ManPageSections::toRoff (const std::string& text, const std::string& argument)
{
    std::string roff;
    bool lineStart = true;

    for (std::size_t i = 0; i < text.size();)
    {
        // A new sentence starts a new line, as roff wants it (its end-of-sentence spacing).
        if (text[i] == ' ' && i > 0 && text[i - 1] == '.')
        {
            roff += '\n';
            lineStart = true;
            ++i;
            continue;
        }

        if (lineStart && (text[i] == '.' || text[i] == '\''))
            roff += "\\&";

        lineStart = false;

        if (text.compare (i, 2, "--") == 0)
        {
            auto end = i + 2;

            while (end < text.size() &&
                   (std::isalpha (static_cast<unsigned char> (text[end])) != 0 || text[end] == '-'))
                ++end;

            roff += "\\fB" + escapeDashes (text.substr (i, end - i)) + "\\fR";
            i = end;
            continue;
        }

        const bool wordStart = i == 0 || !isWordCharacter (text[i - 1]);
        const auto afterArgument = i + argument.size();

        if (!argument.empty() && wordStart && text.compare (i, argument.size(), argument) == 0 &&
            (afterArgument == text.size() || !isWordCharacter (text[afterArgument])))
        {
            roff += "\\fI" + argument + "\\fR";
            i = afterArgument;
            continue;
        }

        if (text[i] == '\\')
            roff += "\\e";
        else
            roff += text[i];

        ++i;
    }

    return roff + "\n";
}

std::string ManPageSections::options()
{
    std::string roff;
    bool first = true;

    for (const auto* rule : commandLineOptionRules)
    {
        roff += (first ? "" : ".PP\n") + toRoff (rule);
        first = false;
    }

    for (const auto& row : commandLineOptionTable)
    {
        const std::string argument = row.argument;
        roff += ".TP\n\\fB" + escapeDashes (row.option) + "\\fR";
        roff += argument.empty() ? "\n" : " \\fI" + argument + "\\fR\n";

        std::string text = asSentence (row.summary);

        if (*row.details != '\0')
            text += std::string (" ") + row.details;

        roff += toRoff (text, argument);
    }

    return roff;
}

std::string ManPageSections::exitStatuses()
{
    std::string roff;

    for (const auto status : allExitStatuses)
        roff += ".TP\n.B " + std::to_string (static_cast<int> (status)) + "\n" +
                toRoff (asSentence (describe (status)));

    return roff;
}

std::optional<std::string> ManPageSections::fillTemplate (const std::string& pageTemplate)
{
    auto page = pageTemplate;

    if (!replaceLine (page, optionsMarker, options()) ||
        !replaceLine (page, exitStatusesMarker, exitStatuses()))
        return std::nullopt;

    return page;
}
