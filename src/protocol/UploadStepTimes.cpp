#include "protocol/UploadStepTimes.h"

#include "interface/WirePacer.h"

#include <algorithm>

namespace
{
using Clock = UploadStepTimes::Clock;

double micros (Clock::duration d)
{
    return std::chrono::duration<double, std::micro> (d).count();
}

// Nearest rank: the smallest value with at least fraction of the values at or below it.
Clock::duration percentile (std::vector<Clock::duration> sorted, double fraction)
{
    if (sorted.empty())
        return {};

    std::sort (sorted.begin(), sorted.end());
    const auto rank = static_cast<std::size_t> (std::ceil (fraction * static_cast<double> (sorted.size())));
    return sorted[std::clamp<std::size_t> (rank, 1, sorted.size()) - 1];
}

// The pacer's deadline for each message, and each message's gap after the previous deadline.
std::vector<Clock::duration> gapsOf (const std::vector<UploadStepTimes::Message>& messages,
                                     std::size_t& restarts)
{
    std::vector<Clock::duration> gaps;
    Clock::time_point deadline;
    restarts = 0;

    for (std::size_t i = 0; i < messages.size(); ++i)
    {
        const auto& m = messages[i];
        auto timelineStart = m.sendStart;

        if (i > 0)
        {
            const auto gap = m.sendStart - deadline;
            gaps.push_back (gap);

            if (gap <= WirePacer::backToBackSlack)
                timelineStart = deadline;
            else
                ++restarts;
        }

        deadline = timelineStart + WirePacer::wireTime (m.bytes);
    }

    return gaps;
}

template <typename Member>
UploadStepTimes::Step stepOf (const std::vector<UploadStepTimes::Message>& messages, Member member)
{
    UploadStepTimes::Step step;

    if (messages.empty())
        return step;

    Clock::duration total {};

    for (const auto& m : messages)
    {
        total += m.*member;
        step.max = std::max (step.max, m.*member);
    }

    step.mean = total / static_cast<Clock::rep> (messages.size());
    return step;
}
} // namespace

std::unique_ptr<UploadStepTimes> UploadStepTimes::fromEnvironment()
{
    const auto path = juce::SystemStats::getEnvironmentVariable ("QUILLON_UPLOAD_TIMING", {});

    if (path.isEmpty() || !juce::File::isAbsolutePath (path))
        return nullptr;

    return std::make_unique<UploadStepTimes> (juce::File (path));
}

UploadStepTimes::UploadStepTimes (juce::File destinationToUse) : destination (std::move (destinationToUse))
{
    messages.reserve (1024);
}

UploadStepTimes::Message& UploadStepTimes::addMessage()
{
    return messages.emplace_back();
}

UploadStepTimes::Summary UploadStepTimes::summarise() const
{
    Summary s;
    s.messages = messages.size();
    const auto gaps = gapsOf (messages, s.restarts);
    s.gapMedian = percentile (gaps, 0.5);
    s.gap95 = percentile (gaps, 0.95);
    s.gapMax = gaps.empty() ? Clock::duration {} : *std::max_element (gaps.begin(), gaps.end());
    s.disable = stepOf (messages, &Message::disable);
    s.disableLockWait = stepOf (messages, &Message::disableLockWait);
    s.check = stepOf (messages, &Message::check);
    s.progress = stepOf (messages, &Message::progress);
    s.progressLockWait = stepOf (messages, &Message::progressLockWait);
    return s;
}

juce::String UploadStepTimes::toText() const
{
    const auto s = summarise();
    juce::String text;
    auto us = [] (Clock::duration d)
    {
        return juce::String (micros (d), 0);
    };
    auto step = [&] (const char* name, const Step& st)
    {
        text << "step " << name << " mean_us " << us (st.mean) << " max_us " << us (st.max) << "\n";
    };

    text << "messages " << static_cast<int> (s.messages) << " restarts " << static_cast<int> (s.restarts)
         << "\n";
    text << "gap_us median " << us (s.gapMedian) << " p95 " << us (s.gap95) << " max " << us (s.gapMax)
         << "\n";
    step ("disable", s.disable);
    step ("disable_lock_wait", s.disableLockWait);
    step ("check", s.check);
    step ("progress", s.progress);
    step ("progress_lock_wait", s.progressLockWait);

    if (messages.empty())
        return text;

    const auto origin = messages.front().sendStart;

    for (const auto& m : messages)
        text << "message bytes " << static_cast<int> (m.bytes) << " send_start_us "
             << us (m.sendStart - origin) << " send_end_us " << us (m.sendEnd - origin) << " wait_end_us "
             << us (m.waitEnd - origin) << " disable_us " << us (m.disable) << " disable_lock_wait_us "
             << us (m.disableLockWait) << " check_us " << us (m.check) << " progress_us " << us (m.progress)
             << " progress_lock_wait_us " << us (m.progressLockWait) << "\n";

    return text;
}

bool UploadStepTimes::write() const
{
    return destination.replaceWithText (toText());
}
