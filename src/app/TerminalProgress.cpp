#include "app/TerminalProgress.h"

#include "app/ProgressLine.h"

TerminalProgress::TerminalProgress (std::ostream& stream, Style styleToUse,
                                    std::chrono::milliseconds logInterval)
    : out (stream), style (styleToUse), interval (logInterval)
{
}

void TerminalProgress::show (const UploadPosition& position, std::chrono::milliseconds pausePerMessage,
                             Clock::time_point now)
{
    if (style == Style::quiet)
        return;

    const auto line = ProgressLine::format (position, pausePerMessage);

    if (!line.has_value() || *line == lastLine)
        return;

    // The first line at once, then one per interval: a log of a long update stays short.
    if (style == Style::logged && lastLine.isNotEmpty() && now - lastPrinted < interval)
        return;

    lastPrinted = now;
    print (*line);
}

void TerminalProgress::finish (const UploadPosition& position, std::chrono::milliseconds pausePerMessage,
                               const juce::String& finalLine, bool failed)
{
    if (style != Style::quiet)
    {
        if (const auto line = ProgressLine::format (position, pausePerMessage);
            line.has_value() && *line != lastLine)
            print (*line);

        // The redrawn line stays on screen as it ended.
        if (style == Style::redrawn && shownWidth > 0)
            out << "\n";
    }

    if (style != Style::quiet || failed)
        out << finalLine << "\n";

    out << std::flush;
}

void TerminalProgress::print (const juce::String& line)
{
    lastLine = line;

    if (style == Style::logged)
    {
        out << line << "\n" << std::flush;
        return;
    }

    // Carriage return, the line, and blanks over what is left of a longer one.
    const auto width = line.length();
    out << "\r" << line << std::string (static_cast<size_t> (juce::jmax (0, shownWidth - width)), ' ')
        << std::flush;
    shownWidth = width;
}
