// QuillonHarness: the real application on virtual MIDI outputs, for end-to-end tests under Xvfb.
//
//     QuillonHarness [harness options] [application arguments]
//
// The outputs are "Virtual Pedal" (output 1) and "Virtual Synth" (output 2). Harness options:
//     --harness-received=FILE   on exit, write every byte "Virtual Pedal" received to FILE
//     --harness-rate=N          "Virtual Pedal" takes N bytes per second (default: at once)
//     --harness-close-after=N   click the main window's close button once "Virtual Pedal" has
//                               been handed N messages
//     --harness-strand-close=MS MS ms after start, put a close request for the main window into
//                               Xlib's queue without dispatching it (see StrandedEvent.h)
//     --harness-sigterm-after=N send the process SIGTERM once "Virtual Pedal" has been handed N
//                               messages
//     --harness-cut-display-after=N
//                               break the connection to the X server once "Virtual Pedal" has been
//                               handed N messages (see DisplayCut.h)
//     --harness-unplug-after=N  "Virtual Pedal" leaves the system (as if unplugged) while it is
//                               handed its N-th message
//     --harness-builtin=FILE    write the built-in firmware image to FILE and exit
// Everything else is the application's command line. On exit the harness prints one line per
// output, "<name>: <messages> messages, <bytes> bytes", and after a close it asked for,
// "closed in <ms> ms" (from the click, or the stranded close request, to the end of the
// application). The signal and the cut connection are announced at once, as "SIGTERM at <ms>" or
// "display cut at <ms>" (milliseconds since the epoch); after a cut connection the application ends
// without returning here.
#include "DisplayCut.h"
#include "StrandedEvent.h"
#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/MainWindow.h"
#include "firmware/BuiltInFirmwareImage.h"
#include "support/TopLevelWindows.h"
#include "support/VirtualMidiPortProvider.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <iostream>
#include <optional>
#include <utility>
#include <vector>

namespace
{
// Lends the harness's devices to the application, which owns its provider: the devices and what
// they received outlive the application.
class LentPortProvider final : public MidiPortProvider
{
public:
    explicit LentPortProvider (MidiPortProvider& providerToUse) : provider (providerToUse) {}

    juce::Array<juce::MidiDeviceInfo> getOutputDevices() override { return provider.getOutputDevices(); }
    juce::Array<juce::MidiDeviceInfo> getInputDevices() override { return provider.getInputDevices(); }

    std::unique_ptr<MidiOutputPort> openOutput (const juce::String& identifier) override
    {
        return provider.openOutput (identifier);
    }

    std::unique_ptr<MidiInputPort> openInput (const juce::String& identifier,
                                              juce::MidiInputCallback& callback) override
    {
        return provider.openInput (identifier, callback);
    }

private:
    MidiPortProvider& provider;
};

VirtualMidiPortProvider* harnessPorts = nullptr;
CommandLineOptions applicationOptions;

int strandCloseAfterMs = 0;
// Until the application is up: Xlib's functions go with JUCE's window system when it ends.
std::optional<WindowManagerAtoms> windowManagerAtoms;

std::atomic<juce::int64> closeClickedAt { 0 };

juce::JUCEApplicationBase* createApplication()
{
    if (strandCloseAfterMs > 0)
        juce::Timer::callAfterDelay (strandCloseAfterMs,
                                     []
                                     {
                                         windowManagerAtoms.reset();

                                         if (auto* window = findMainWindow())
                                         {
                                             closeClickedAt = juce::Time::getMillisecondCounter();
                                             const auto queued =
                                                 strandCloseRequest (window->getWindowHandle());
                                             std::cout << "stranded a close request (" << queued
                                                       << " events in Xlib's queue)" << std::endl;
                                         }
                                     });

    return new Application (applicationOptions, std::make_unique<LentPortProvider> (*harnessPorts));
}

// Called on the upload thread with each message handed to the pedal.
void clickCloseAfter (int count, std::shared_ptr<std::atomic<int>> seen)
{
    if (++*seen != count)
        return;

    juce::MessageManager::callAsync (
        []
        {
            if (auto* window = findMainWindow())
            {
                closeClickedAt = juce::Time::getMillisecondCounter();
                window->getCloseButton()->triggerClick();
            }
        });
}

// Calls action (on the upload thread) when the pedal is handed its count-th message.
VirtualMidiOutput::Observer afterMessages (int count, std::function<void()> action)
{
    return [count, action, seen = std::make_shared<std::atomic<int>> (0)] (const juce::MidiMessage&)
    {
        if (++*seen == count)
            action();
    };
}

void announce (const char* what)
{
    std::cout << what << " at " << juce::Time::currentTimeMillis() << std::endl;
}

bool writeBytes (const juce::File& file, const void* data, size_t size)
{
    return file.replaceWithData (data, size);
}
} // namespace

int main (int argc, char* argv[])
{
    juce::File receivedFile;
    double rate = VirtualMidiOutput::instant;
    int closeAfter = 0;
    int sigtermAfter = 0;
    int cutDisplayAfter = 0;
    int unplugAfter = 0;
    std::vector<const char*> applicationArguments { argv[0] };

    // The harness's whole-number options: after how many messages to act, or how long to wait.
    const std::pair<const char*, int*> counts[] = {
        { "--harness-close-after=", &closeAfter },
        { "--harness-sigterm-after=", &sigtermAfter },
        { "--harness-cut-display-after=", &cutDisplayAfter },
        { "--harness-unplug-after=", &unplugAfter },
        { "--harness-strand-close=", &strandCloseAfterMs },
    };

    for (int i = 1; i < argc; ++i)
    {
        const juce::String argument (juce::CharPointer_UTF8 (argv[i]));
        const auto value = argument.fromFirstOccurrenceOf ("=", false, false);
        const auto count = std::find_if (std::begin (counts), std::end (counts),
                                         [&] (const auto& c) { return argument.startsWith (c.first); });

        if (count != std::end (counts))
        {
            *count->second = value.getIntValue();
        }
        else if (argument.startsWith ("--harness-received="))
        {
            receivedFile = juce::File::getCurrentWorkingDirectory().getChildFile (value);
        }
        else if (argument.startsWith ("--harness-rate="))
        {
            rate = value.getDoubleValue();
        }
        else if (argument.startsWith ("--harness-builtin="))
        {
            const auto file = juce::File::getCurrentWorkingDirectory().getChildFile (value);
            const BuiltInFirmwareImage image;
            return writeBytes (file, image.getData(), image.getSize()) ? 0 : 2;
        }
        else
        {
            applicationArguments.push_back (argv[i]);
        }
    }

    VirtualMidiPortProvider ports;
    auto& pedal = ports.addOutput ("Virtual Pedal", rate);
    auto& synth = ports.addOutput ("Virtual Synth");
    harnessPorts = &ports;

    if (closeAfter > 0)
        pedal.setObserver ([closeAfter, seen = std::make_shared<std::atomic<int>> (0)] (
                               const juce::MidiMessage&) { clickCloseAfter (closeAfter, seen); });
    else if (sigtermAfter > 0)
        pedal.setObserver (afterMessages (sigtermAfter,
                                          []
                                          {
                                              announce ("SIGTERM");
                                              std::raise (SIGTERM);
                                          }));
    else if (cutDisplayAfter > 0)
        pedal.setObserver (afterMessages (cutDisplayAfter,
                                          []
                                          {
                                              announce ("display cut");
                                              cutDisplayConnection();
                                          }));
    else if (unplugAfter > 0)
        pedal.setObserver (afterMessages (unplugAfter, [&pedal] { pedal.vanish(); }));

    if (strandCloseAfterMs > 0)
        windowManagerAtoms.emplace();

    applicationOptions =
        parseCommandLine (Application::joinArguments (static_cast<int> (applicationArguments.size()),
                                                      applicationArguments.data())
                              .trim());
    juce::JUCEApplicationBase::createInstance = &createApplication;
    const int result = juce::JUCEApplicationBase::main (static_cast<int> (applicationArguments.size()),
                                                        applicationArguments.data());

    if (const auto clickedAt = closeClickedAt.load(); clickedAt != 0)
        std::cout << "closed in " << (juce::Time::getMillisecondCounter() - clickedAt) << " ms" << std::endl;

    for (auto* output : { &pedal, &synth })
        std::cout << output->getName() << ": " << output->getMessageCount() << " messages, "
                  << output->getTotalBytes() << " bytes" << std::endl;

    if (receivedFile != juce::File())
    {
        const auto bytes = pedal.getBytes();

        if (!writeBytes (receivedFile, bytes.data(), bytes.size()))
            return 2;
    }

    return result;
}
