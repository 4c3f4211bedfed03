#pragma once

#include <juce_core/juce_core.h>

#include <chrono>
#include <cstddef>
#include <memory>
#include <vector>

// What one upload spent its time on, message by message: when each send began and returned, and
// the steps the upload thread took around it (the device check, the progress broadcast, keeping
// the selector disabled for the next message, with the time each waited for the message-manager
// lock). Filled only when
// asked for (QUILLON_UPLOAD_TIMING names a file), so the shipped path pays one pointer test a step.
//
// The gap of a message is the time from the previous message's wire deadline to its own send. The
// deadlines follow the port's pacer: back to back within WirePacer::backToBackSlack, else the
// timeline restarts at the send, and the gap is lost to the upload.
class UploadStepTimes final
{
public:
    using Clock = std::chrono::steady_clock;

    struct Message
    {
        std::size_t bytes = 0;
        Clock::time_point sendStart;
        Clock::time_point sendEnd; // handed over
        Clock::time_point waitEnd; // the wire time over
        // Keeping the selector disabled for the next message, lock wait included; for every
        // message but the last the progress broadcast shares that lock hold and counts here too.
        Clock::duration disable {};
        Clock::duration disableLockWait {};
        Clock::duration check {};    // the device-presence check
        Clock::duration progress {}; // the progress broadcast, lock wait included
        Clock::duration progressLockWait {};
    };

    struct Step
    {
        Clock::duration mean {};
        Clock::duration max {};
    };

    struct Summary
    {
        std::size_t messages = 0;
        std::size_t restarts = 0; // messages after the first that restarted the pacer's timeline
        Clock::duration gapMedian {};
        Clock::duration gap95 {};
        Clock::duration gapMax {};
        Step disable, disableLockWait, check, progress, progressLockWait;
    };

    // A record for this upload when QUILLON_UPLOAD_TIMING names a file, else null.
    static std::unique_ptr<UploadStepTimes> fromEnvironment();

    explicit UploadStepTimes (juce::File destination);

    // Starts the next message's entry; the caller fills it in.
    Message& addMessage();

    const std::vector<Message>& getMessages() const noexcept { return messages; }
    Summary summarise() const;

    // The summary, then one line per message (times in microseconds from the first send).
    juce::String toText() const;
    bool write() const;

private:
    juce::File destination;
    std::vector<Message> messages;
};
