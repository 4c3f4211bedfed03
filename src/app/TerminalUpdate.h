#pragma once

#include "app/CommandLine.h"
#include "app/ExitStatus.h"
#include "app/TerminalProgress.h"
#include "protocol/ProtocolBaseClass.h"

#include <juce_events/juce_events.h>

#include <functional>
#include <memory>
#include <ostream>

class BasicSysexProtocolClass;
class FirmwareImage;
class MidiInterfaceClass;
class MidiPortProvider;

// The automatic update without a window: for --no-window, and for --autoupdate where no display can
// be opened. It makes the same decisions as the panel (AutomaticStart, FirmwareFileLoader) and sends
// through the same device interface component, never shown (a component needs no display until it
// is put on the desktop), and the same upload thread; the progress and a final line that names the
// outcome go to a stream (stderr). Unlike the window it ends by itself however the update ended.
//
// Message thread.
class TerminalUpdate final : private ProtocolBaseClass::Listener, private juce::Timer
{
public:
    // ports: where the MIDI devices come from; out: where progress and the final line go. Both
    // must outlive the update.
    TerminalUpdate (const CommandLineOptions& options, MidiPortProvider& ports, std::ostream& out,
                    TerminalProgress::Style style);
    ~TerminalUpdate() override;

    // Decides the start and starts the upload; an update that cannot start ends here (onFinished
    // is called before this returns).
    void start();

    // Called once, when the update has ended and the final line is printed.
    std::function<void (ExitStatus)> onFinished;

    // Stops a running upload between two messages, waiting at most timeoutMs, and ends the update
    // if it had not ended (stopped, unless the last message was already out). For a quit (Ctrl-C,
    // SIGTERM, SIGHUP): the final line is printed once the upload thread has let go.
    void stop (int timeoutMs);

    bool hasFinished() const noexcept { return finished; }
    ExitStatus getExitStatus() const noexcept { return exitStatus; }

    // How often the progress is looked at.
    static constexpr int pollIntervalMs = 100;

private:
    void uploadFinished (UploadOutcome outcome) override;
    void timerCallback() override;
    void finish (ExitStatus status, const juce::String& line);

    const CommandLineOptions options;
    MidiPortProvider& ports;
    TerminalProgress progress;

    // The interface and the image outlive the upload thread that uses them.
    std::unique_ptr<MidiInterfaceClass> midiInterface;
    std::unique_ptr<FirmwareImage> firmwareImage;
    std::unique_ptr<BasicSysexProtocolClass> protocol;

    bool finished = false;
    ExitStatus exitStatus = ExitStatus::stopped;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TerminalUpdate)
};
