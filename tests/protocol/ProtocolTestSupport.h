#pragma once

// Doubles shared by the protocol tests: an event log that several threads write to, recorders of
// what reaches a virtual MIDI output, of the interface's enabled state and of what a change
// listener sees, a firmware image made of given bytes, and a stand-in application object that
// records quit requests.

#include "firmware/FirmwareImage.h"
#include "protocol/ProgressClass.h"
#include "support/MessagePump.h"
#include "support/SysexImages.h"
#include "support/VirtualMidiOutput.h"
#include <juce_gui_basics/juce_gui_basics.h>

#include <algorithm>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

namespace protocoltest
{

// One ordered record of what happened, written from the upload thread and the message thread.
class EventLog final
{
public:
    void add (std::string event)
    {
        const std::lock_guard<std::mutex> lock (mutex);
        events.push_back (std::move (event));
    }

    std::vector<std::string> snapshot() const
    {
        const std::lock_guard<std::mutex> lock (mutex);
        return events;
    }

    // The events that begin with one of the prefixes, in order.
    std::vector<std::string> select (const std::vector<std::string>& prefixes) const
    {
        std::vector<std::string> result;

        for (auto& e : snapshot())
            for (auto& prefix : prefixes)
                if (e.rfind (prefix, 0) == 0)
                {
                    result.push_back (e);
                    break;
                }

        return result;
    }

    size_t count (const std::string& event) const
    {
        const auto all = snapshot();
        return static_cast<size_t> (std::count (all.begin(), all.end(), event));
    }

private:
    mutable std::mutex mutex;
    std::vector<std::string> events;
};

// Notes every send that reaches a virtual output ("send N" in the log, before the device takes the
// message) and, on request, holds sends: every send after the first `count` waits until
// allowSends raises the limit.
class SendRecorder final
{
public:
    SendRecorder (VirtualMidiOutput& outputToWatch, EventLog& logToUse);
    ~SendRecorder();

    void allowSends (int count); // -1 lets every send through

    int getSendsBegun() const;

    // Pumps the message loop until `count` sends have begun; false on time-out.
    bool waitForSendsBegun (int count, int timeoutMs = 5000);

private:
    VirtualMidiOutput& output;
    EventLog& log;
    mutable std::mutex mutex;
    std::condition_variable changed;
    int sendsBegun = 0;
    int sendsAllowed = -1;
};

// Notes every change of a component's enabled state ("enabled" / "disabled"), on the thread that
// made it, and calls onChange there too.
class EnablementRecorder final : public juce::ComponentListener
{
public:
    EnablementRecorder (juce::Component& toWatch, EventLog& logToUse);
    ~EnablementRecorder() override;

    void componentEnablementChanged (juce::Component& component) override;

    std::function<void (bool enabled)> onChange;

private:
    juce::Component& watched;
    EventLog& log;
};

// Notes each change it sees, in the order it sees them: "status TEXT" when the status text differs
// from the last one seen, then "progress X.XX" when the progress does. Also notes whether every
// callback came from the watched object with the message-manager lock held.
class ProgressRecorder final : public juce::ChangeListener
{
public:
    ProgressRecorder (ProgressClass& toWatch, EventLog& logToUse) : watched (&toWatch), log (logToUse)
    {
        watched->addChangeListener (this);
    }

    ~ProgressRecorder() override
    {
        if (watched != nullptr)
            watched->removeChangeListener (this);
    }

    // For a test that destroys the watched object while this still listens.
    void forgetWatchedObject() { watched = nullptr; }

    void changeListenerCallback (juce::ChangeBroadcaster* source) override;

    int callbacks() const { return numCallbacks.load(); }
    bool sawUnlockedCallback() const { return unlocked.load(); }
    bool sawForeignSource() const { return foreignSource.load(); }

private:
    ProgressClass* watched;
    EventLog& log;
    double lastProgress = 0.0;
    juce::String lastStatus;
    std::atomic<int> numCallbacks { 0 };
    std::atomic<bool> unlocked { false };
    std::atomic<bool> foreignSource { false };
};

std::string progressEvent (double value);

// A damaged image in a table of cases; gtest prints the case by its name.
struct DamagedCase
{
    const char* name;
    std::vector<juce::uint8> bytes;
};

void PrintTo (const DamagedCase& c, std::ostream* os);

// A firmware image holding the given bytes (an empty vector gives an image without data).
class TestFirmwareImage final : public FirmwareImage
{
public:
    explicit TestFirmwareImage (std::vector<juce::uint8> imageBytes);

private:
    std::vector<juce::uint8> bytes;
};

// Makes JUCE take this process for a standalone application while it exists: the application
// object's constructor insists on that.
class StandaloneAppMarker
{
protected:
    StandaloneAppMarker();
    ~StandaloneAppMarker();

private:
    juce::JUCEApplicationBase::CreateInstanceFunction previous;
};

// Stands in for the application object, so that a quit request can be observed.
class QuitRecorderApplication final : private StandaloneAppMarker, public juce::JUCEApplication
{
public:
    explicit QuitRecorderApplication (EventLog& logToUse) : log (logToUse) {}

    const juce::String getApplicationName() override { return "Protocol test"; }
    const juce::String getApplicationVersion() override { return "1.0"; }
    void initialise (const juce::String&) override {}
    void shutdown() override {}

    void systemRequestedQuit() override
    {
        log.add ("quit");

        if (onQuitRequest)
            onQuitRequest();
    }

    std::function<void()> onQuitRequest; // called on the requesting thread

private:
    EventLog& log;
};

} // namespace protocoltest
