#pragma once

#include <chrono>
#include <cstddef>
#include <functional>

// Holds a MIDI send until the time its bytes need on a MIDI wire (31250 baud, 10 bits a byte) has
// passed since the send began. The deadline is absolute, so time spent inside the send counts and
// a run of messages does not drift; the wait sleeps, it never spins.
class WirePacer final
{
public:
    using Clock = std::chrono::steady_clock;

    static constexpr std::chrono::microseconds timePerByte { 320 };

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

    // The steady clock and std::this_thread::sleep_until.
    WirePacer();
    explicit WirePacer (Timing timing);

    // Calls send, then returns once wireTime (numBytes) has passed since the call began.
    void send (std::size_t numBytes, const std::function<void()>& sendNow) const;

private:
    Timing timing;
};
