#pragma once

#include <optional>
#include <string>

// The parts of the man page (quillon.1) that come from the program's own tables: the options
// from CommandLineOptionTable and the exit statuses from ExitStatus, in roff. The build's
// man-page-tool puts them into the page in place of their marker lines, so that the page and
// --help cannot tell different stories. Standard C++ only: the tool is built without JUCE.
class ManPageSections final
{
public:
    // Lines that stand for the generated parts in the page's template.
    static constexpr const char* optionsMarker = ".\\\" (generated: OPTIONS)";
    static constexpr const char* exitStatusesMarker = ".\\\" (generated: EXIT STATUS)";

    // The option rules as paragraphs, then one tagged paragraph per option.
    static std::string options();
    // One tagged paragraph per exit status.
    static std::string exitStatuses();
    // The template with each marker line replaced; nothing when a marker is missing.
    static std::optional<std::string> fillTemplate (const std::string& pageTemplate);

    // Plain text as roff: one sentence a line, option words in bold with escaped dashes, the
    // word `argument` in italics, and nothing that roff would take for a request.
    static std::string toRoff (const std::string& text, const std::string& argument = {});

private:
    ManPageSections() = delete;
};
