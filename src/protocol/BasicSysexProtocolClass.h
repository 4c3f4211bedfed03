#pragma once

#include "protocol/ProtocolBaseClass.h"
#include "protocol/UploadStepTimes.h"

#include <atomic>
#include <chrono>
#include <memory>

// Sends a firmware image (complete SysEx messages back to back) to the device interface one
// message at a time, publishing the fraction of bytes sent and a status text. The interface stays
// disabled while the upload runs.
//
// The image's framing is checked before anything is sent: a damaged image is not sent at all.
// After handing each message to the device, while the wire carries it, the thread checks that the
// output is still connected, shows the position and the progress and keeps the interface disabled
// for the next message; then it waits for the wire and the pause. After the last one it waits for
// the wire and the pause, checks once more and only then shows the end. An upload counts as
// completed only when the output was still there after the last message's wire time.
class BasicSysexProtocolClass final : public ProtocolBaseClass
{
public:
    BasicSysexProtocolClass (InterfaceBaseClass* interfaceToUse, FirmwareImage* imageToSend);

    // Stops a running upload after the message in progress, waiting at most 2000 ms.
    ~BasicSysexProtocolClass() override;

    void run() override;

    // Starts an upload from the first byte unless one is running. While one runs this only sets
    // the progress back to 0.0 once every byte has been sent.
    void startUpload() override;

    // A wait after every message, on top of its wire time: some bootloaders need it to write each
    // block to flash, and some USB-MIDI interfaces lose data when messages follow closely. Takes
    // effect with the next message; a stop request cuts the wait short.
    void setPauseAfterEachMessage (std::chrono::milliseconds pause) noexcept { pauseMs = pause.count(); }
    std::chrono::milliseconds getPauseAfterEachMessage() const noexcept
    {
        return std::chrono::milliseconds (pauseMs.load());
    }

    static constexpr const char* uploadingText = "Uploading firmware";
    static constexpr const char* completedText = "Update completed";
    static constexpr const char* damagedImageText = "Upload stopped: the firmware image is damaged";
    static constexpr const char* deviceLostText = "Upload stopped: the output device was disconnected";
    static constexpr const char* noDeviceText = "Upload stopped: no output device is open";

private:
    // Sends the image and says how that ended; the status text is left to run().
    UploadOutcome upload();

    // Waits the pause after a message; false when a stop request came meanwhile.
    bool pauseAfterMessage();

    // Enables or disables the interface under the message-manager lock. Returns false, having done
    // nothing, when the thread was asked to stop or the application is quitting (JUCE refuses the
    // lock once a quit has been posted).
    bool setInterfaceEnabled (bool shouldBeEnabled);

    // Shows that every byte up to the fraction p has been sent: the position, then the rounded
    // progress, broadcast under the message-manager lock (taken here, or already held).
    void broadcastProgress (double p, const UploadPosition& sentSoFar, UploadStepTimes::Message* record);

    // progressValue = p, under ProgressValueLock: never while holding the message-manager lock.
    void storeProgressValue (double p);

    // Progress of the current upload, not rounded; exactly 1.0 once every byte has been sent.
    double progressValue = 0.0;
    juce::CriticalSection ProgressValueLock;
    std::atomic<std::chrono::milliseconds::rep> pauseMs { 0 };
    // Start of the next message to send during an upload; used by the upload thread only.
    const juce::uint8* readPosition = nullptr;
    // What this upload spent its time on, when asked for; used by the upload thread only.
    std::unique_ptr<UploadStepTimes> timing;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BasicSysexProtocolClass)
};
