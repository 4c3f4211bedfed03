#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>

// Holds a MIDI send until the time its bytes need on a MIDI wire (31250 baud, 10 bits a byte) has
// passed since the send began. The deadline is absolute, so time spent inside the send counts; the
// wait sleeps, it never spins.
//
// Messages sent back to back share one timeline: a message that starts within backToBackSlack of
// the previous deadline gets its deadline from there, not from its own (later) start. A sleep that
// wakes late, or a moment's work between two messages, then shortens the next wait instead of
// adding to the upload, so
// hundreds of messages take their wire time plus one wake-up, not plus hundreds. The wire can lag
// the sender by at most backToBackSlack (about 31 bytes: the lag never accumulates, it is at most
// the largest single delay), far inside any MIDI device's buffer. After a longer pause the timeline
// starts afresh, so no message is ever sent early to make up for idle time.
//
// Not thread-safe: one sender at a time (the caller holds its port's lock). A sender with work to
// do between messages does it while the wire carries the last one (start, then finish), so that
// the work never holds the next message back.
class WirePacer final
{
public:
    using Clock = std::chrono::steady_clock;

    static constexpr std::chrono::microseconds timePerByte { 320 };
    static constexpr std::chrono::microseconds backToBackSlack { 10000 };

    static constexpr Clock::duration wireTime (std::size_t numBytes) noexcept
    {
        return timePerByte * static_cast<Clock::rep> (numBytes);
    }

    // The clock and the sleep the pacer uses; tests replace both.
    struct Timing
    {
        std::function<Clock::time_point()> now;
        std::function<void (Clock::time_point)> sleepUntil;
    };

    // The steady clock and std::this_thread::sleep_until (repeated until the deadline has passed).
    WirePacer();
    explicit WirePacer (Timing timing);

    // Calls sendNow, then returns once wireTime (numBytes) has passed since the call began, or
    // since the previous message's deadline when this one follows it back to back.
    void send (std::size_t numBytes, const std::function<void()>& sendNow);

    // send in two halves, for a caller with work to do while the wire carries the bytes: start
    // calls sendNow and returns that send's deadline at once; finish returns once it has passed.
    // A start before the previous deadline waits for it first, so bytes never go out early.
    Clock::time_point start (std::size_t numBytes, const std::function<void()>& sendNow);
    void finish();

    // The deadline of the last bytes started; a time long past before the first.
    Clock::time_point deadline() const noexcept { return previousDeadline.value_or (Clock::time_point()); }

    // The real wait: std::this_thread::sleep_until, repeated until the deadline has passed.
    static void sleepUntil (Clock::time_point deadline);

private:
    Timing timing;
    std::optional<Clock::time_point> previousDeadline;
};
