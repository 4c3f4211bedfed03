// The man page's generated parts: every option and exit status there, and nothing roff misreads.
#include "app/ManPageSections.h"
#include "app/CommandLineOptionTable.h"
#include "app/ExitStatus.h"

#include <gtest/gtest.h>

#include <sstream>

TEST (ManPageSections, PlainTextBecomesRoff)
{
    const struct
    {
        const char* text;
        const char* argument;
        const char* roff;
    } cases[] = {
        { "use --file PATH.", "PATH", "use \\fB\\-\\-file\\fR \\fIPATH\\fR.\n" },
        { "--FILE works, --filex not", "", "\\fB\\-\\-FILE\\fR works, \\fB\\-\\-filex\\fR not\n" },
        { "ignored (--outputid=2), also --, too", "",
          "ignored (\\fB\\-\\-outputid\\fR=2), also \\fB\\-\\-\\fR, too\n" },
        { "One. Two.", "", "One.\nTwo.\n" },                // a sentence a line
        { "x. .syx and 'a'", "", "x.\n\\&.syx and 'a'\n" }, // no line starts a request
        { "N counts, NAME does not", "N", "\\fIN\\fR counts, NAME does not\n" },
        { "built-in, tab-separated, C:\\x", "", "built-in, tab-separated, C:\\ex\n" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.text);
        EXPECT_EQ (ManPageSections::toRoff (c.text, c.argument), c.roff);
    }
}

TEST (ManPageSections, TemplateGetsEveryOptionAndExitStatus)
{
    const std::string pageTemplate = std::string (".TH QUILLON 1\n.SH OPTIONS\n") +
                                     ManPageSections::optionsMarker + "\n.SH EXIT STATUS\n" +
                                     ManPageSections::exitStatusesMarker + "\n.SH SEE ALSO\n";
    const auto page = ManPageSections::fillTemplate (pageTemplate);
    ASSERT_TRUE (page.has_value());

    EXPECT_EQ (page->find ("(generated:"), std::string::npos);
    EXPECT_EQ (page->find ("--"), std::string::npos) << "an option's dashes were left unescaped";
    EXPECT_EQ (page->rfind (".SH SEE ALSO\n"), page->size() - 13) << "text after the markers kept";

    for (const auto& row : commandLineOptionTable)
    {
        std::string tag = ".TP\n\\fB";
        for (const auto* c = row.option; *c != '\0'; ++c)
            tag += (*c == '-') ? std::string ("\\-") : std::string (1, *c);
        tag += "\\fR"; // the whole option: --output is not --outputid
        EXPECT_NE (page->find (tag), std::string::npos) << row.option;
    }

    const auto exitStatuses = page->substr (page->find (".SH EXIT STATUS"));
    for (const auto status : allExitStatuses)
        EXPECT_NE (exitStatuses.find (".TP\n.B " + std::to_string (static_cast<int> (status)) + "\n"),
                   std::string::npos)
            << static_cast<int> (status);

    // Every line that starts with a dot or an apostrophe is one of the requests the page uses.
    std::istringstream lines (*page);
    for (std::string line; std::getline (lines, line);)
    {
        if (!line.empty() && (line[0] == '.' || line[0] == '\''))
        {
            EXPECT_TRUE (line == ".TP" || line == ".PP" || line.rfind (".B ", 0) == 0 ||
                         line.rfind (".SH ", 0) == 0 || line.rfind (".TH ", 0) == 0)
                << line;
        }
    }
}

TEST (ManPageSections, TemplateWithoutAMarkerIsRefused)
{
    EXPECT_FALSE (ManPageSections::fillTemplate (".TH QUILLON 1\n").has_value());
    EXPECT_FALSE (
        ManPageSections::fillTemplate (std::string (ManPageSections::optionsMarker) + "\n").has_value());
    // A marker must be a whole line.
    EXPECT_FALSE (ManPageSections::fillTemplate (std::string ("x") + ManPageSections::optionsMarker + "\n" +
                                                 ManPageSections::exitStatusesMarker + "\n")
                      .has_value());
}
