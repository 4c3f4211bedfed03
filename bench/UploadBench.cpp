// The upload thread against virtual MIDI outputs, with a listener attached as the panel would be:
//  - UploadBuiltInImage/InstantOutput: the built-in image through an output that takes every
//    message at once. Reports the time of one upload and the progress broadcasts it made (at most
//    101: the reset to 0 and one per hundredth).
//  - UploadAtMidiWireRate: a shortened image through an output that takes 3125 bytes/s, as a MIDI
//    cable does. Reports the upload's wall time over the wire time of its bytes (target <= 1.005)
//    and the CPU time the upload thread used meanwhile (target: near zero, no busy waiting).
// An upload runs from startUpload until the upload thread enables the interface again at its end.
#include "firmware/BuiltInFirmwareImage.h"
#include "interface/MidiInterfaceClass.h"
#include "protocol/BasicSysexProtocolClass.h"
#include "support/VirtualMidiPortProvider.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <memory>

namespace
{
using Clock = std::chrono::steady_clock;

double threadCpuSeconds()
{
    timespec t {};
    clock_gettime (CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double> (t.tv_sec) + static_cast<double> (t.tv_nsec) * 1e-9;
}

// The image's first messages, as an image of their own.
class ShortenedImage final : public FirmwareImage
{
public:
    ShortenedImage (const FirmwareImage& source, int numMessages) : FirmwareImage ("Shortened", "", 0)
    {
        const auto* bytes = source.getData();
        std::uint32_t length = 0;

        for (int found = 0; found < numMessages && length < source.getSize(); ++length)
            if (bytes[length] == 0xF7)
                ++found;

        data = bytes;
        size = length;
    }
};

// The protocol on the MIDI interface with one virtual output, and a listener that counts the
// progress broadcasts and notes when the upload thread enables the interface at the end, with
// that thread's CPU time (the thread is new for every upload).
class UploadRig final : private juce::ChangeListener, private juce::ComponentListener
{
public:
    UploadRig (double bytesPerSecond, int numMessages) : output (ports.addOutput ("Pedal", bytesPerSecond))
    {
        const juce::MessageManagerLock mmLock;
        midiInterface = std::make_unique<MidiInterfaceClass> (true, false, ports);
        midiInterface->selectOutput (1);
        midiInterface->addComponentListener (this);

        if (numMessages > 0)
        {
            shortened = std::make_unique<ShortenedImage> (builtIn, numMessages);
            image = shortened.get();
        }

        protocol = std::make_unique<BasicSysexProtocolClass> (midiInterface.get(), image);
        protocol->addChangeListener (this);
    }

    ~UploadRig() override
    {
        const juce::MessageManagerLock mmLock;
        protocol->removeChangeListener (this);
        protocol.reset();
        midiInterface->removeComponentListener (this);
        midiInterface.reset();
    }

    // One whole upload; returns its wall time in seconds.
    double upload()
    {
        output.clearReceived();
        broadcasts = 0;
        const auto start = Clock::now();

        {
            const juce::MessageManagerLock mmLock; // startUpload belongs to the message thread
            protocol->startUpload();
        }

        protocol->waitForThreadToExit (-1);
        return std::chrono::duration<double> (end.load() - start).count();
    }

    bool receivedWholeImage() const { return output.getTotalBytes() == getImage().getSize(); }
    const FirmwareImage& getImage() const { return *image; }

    std::atomic<int> broadcasts { 0 };
    std::atomic<double> uploadThreadCpuSeconds { 0.0 };

private:
    void changeListenerCallback (juce::ChangeBroadcaster*) override
    {
        const auto progress = protocol->getProgress();

        if (progress != lastProgress)
            ++broadcasts;

        lastProgress = progress;
    }

    void componentEnablementChanged (juce::Component& component) override
    {
        if (component.isEnabled() && juce::Thread::getCurrentThread() == protocol.get())
        {
            end = Clock::now();
            uploadThreadCpuSeconds = threadCpuSeconds();
        }
    }

    VirtualMidiPortProvider ports;
    VirtualMidiOutput& output;
    BuiltInFirmwareImage builtIn;
    std::unique_ptr<ShortenedImage> shortened;
    FirmwareImage* image = &builtIn;
    std::unique_ptr<MidiInterfaceClass> midiInterface;
    std::unique_ptr<BasicSysexProtocolClass> protocol;
    double lastProgress = 0.0;
    std::atomic<Clock::time_point> end {};
};
} // namespace

static void UploadBuiltInImage (benchmark::State& state)
{
    UploadRig rig (VirtualMidiOutput::instant, 0);
    int mostBroadcasts = 0;

    for (auto _ : state)
    {
        state.SetIterationTime (rig.upload());
        mostBroadcasts = juce::jmax (mostBroadcasts, rig.broadcasts.load());
    }

    if (!rig.receivedWholeImage())
        state.SkipWithError ("the output did not receive the whole image");

    state.SetBytesProcessed (static_cast<int64_t> (state.iterations()) * rig.getImage().getSize());
    state.counters["progress_broadcasts"] = mostBroadcasts; // most in one upload
}
BENCHMARK (UploadBuiltInImage)
    ->Name ("UploadBuiltInImage/InstantOutput")
    ->UseManualTime()
    ->Unit (benchmark::kMillisecond);

static void UploadAtMidiWireRate (benchmark::State& state)
{
    UploadRig rig (VirtualMidiOutput::midiWireRate, static_cast<int> (state.range (0)));
    const double wireSeconds = rig.getImage().getSize() / VirtualMidiOutput::midiWireRate;
    double totalWall = 0.0;
    double worstRatio = 0.0;
    double mostCpuSeconds = 0.0;

    for (auto _ : state)
    {
        const double wall = rig.upload();
        state.SetIterationTime (wall);
        totalWall += wall;
        worstRatio = juce::jmax (worstRatio, wall / wireSeconds);
        mostCpuSeconds = juce::jmax (mostCpuSeconds, rig.uploadThreadCpuSeconds.load());
    }

    if (!rig.receivedWholeImage())
        state.SkipWithError ("the output did not receive the whole image");

    state.counters["bytes"] = rig.getImage().getSize();
    state.counters["wire_ms"] = wireSeconds * 1e3;
    state.counters["wall_over_wire"] = totalWall / (wireSeconds * static_cast<double> (state.iterations()));
    state.counters["worst_wall_over_wire"] = worstRatio;
    state.counters["thread_cpu_ms"] = mostCpuSeconds * 1e3; // most in one upload
}
BENCHMARK (UploadAtMidiWireRate)
    ->Name ("UploadAtMidiWireRate/Messages")
    ->Arg (12)
    ->Iterations (3)
    ->UseManualTime()
    ->Unit (benchmark::kMillisecond);
