#pragma once

#include "protocol/UploadPosition.h"

#include <chrono>
#include <ostream>

// Shows an upload's progress on a stream (stderr) in one of three styles:
// - redrawn: for a terminal, one line redrawn in place as the upload goes on;
// - logged: for a log file or a pipe, one plain line every logInterval and one at the end, so
//   that a log stays readable;
// - quiet: nothing but the final line, and that only when the update failed.
// The final line names the outcome in words. Message thread.
class TerminalProgress final
{
public:
    enum class Style
    {
        redrawn,
        logged,
        quiet
    };

    using Clock = std::chrono::steady_clock;

    static Style styleFor (bool quiet, bool streamIsTerminal) noexcept
    {
        return quiet ? Style::quiet : streamIsTerminal ? Style::redrawn : Style::logged;
    }

    static constexpr std::chrono::milliseconds defaultLogInterval { 5000 };

    TerminalProgress (std::ostream& stream, Style style,
                      std::chrono::milliseconds logInterval = defaultLogInterval);

    // Called as often as the owner likes; prints only what the style asks for.
    void show (const UploadPosition& position, std::chrono::milliseconds pausePerMessage,
               Clock::time_point now);

    // The end of the update: the last progress (unless quiet) and then finalLine, which a quiet
    // progress prints only when failed.
    void finish (const UploadPosition& position, std::chrono::milliseconds pausePerMessage,
                 const juce::String& finalLine, bool failed);

private:
    void print (const juce::String& line);

    std::ostream& out;
    const Style style;
    const std::chrono::milliseconds interval;
    juce::String lastLine;
    Clock::time_point lastPrinted;
    // The width of the line on screen (redrawn): a shorter one must cover all of it.
    int shownWidth = 0;
};
