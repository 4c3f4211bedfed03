#pragma once

#include "protocol/ProgressClass.h"
#include "protocol/UploadOutcome.h"
#include "protocol/UploadPosition.h"

#include <atomic>

class FirmwareImage;
class InterfaceBaseClass;

// An upload protocol: the thread ("Protocol Thread") that sends a firmware image to the device,
// and the progress and status of that upload.
//
// When an upload has ended, its outcome is kept (getOutcome) and handed to the listeners on the
// message thread. The owner decides what follows (quit, exit status); the protocol never ends the
// application itself.
//
// The interface and the image belong to the owner and must outlive this object; the owner destroys
// the protocol (and with it the thread) first.
class ProtocolBaseClass : public juce::Thread, public ProgressClass, private juce::AsyncUpdater
{
public:
    // Told on the message thread, once per upload, after the thread has finished its work on it.
    class Listener
    {
    public:
        virtual ~Listener() = default;
        virtual void uploadFinished (UploadOutcome outcome) = 0;
    };

    ProtocolBaseClass (InterfaceBaseClass* interfaceToUse, FirmwareImage* imageToSend);
    ~ProtocolBaseClass() override;

    void run() override = 0;

    // Message thread: starts an upload unless one is running. The plain protocol only starts the
    // thread; protocols that keep state between uploads reset it first.
    virtual void startUpload();

    // Any thread: how the last upload ended; none before the first and while one runs.
    UploadOutcome getOutcome() const noexcept { return outcome.load(); }

    // Any thread: how far the current (or last) upload has got, in bytes and whole messages. Counts
    // only messages handed to the device whole; one consistent snapshot.
    UploadPosition getPosition() const;

    // Message thread.
    void addUploadListener (Listener* listener) { uploadListeners.add (listener); }
    void removeUploadListener (Listener* listener) { uploadListeners.remove (listener); }

protected:
    // Upload thread: records how the upload ended, before anything shows it; announceOutcome, at
    // the end of the thread's work, has the listeners told on the message thread.
    void recordOutcome (UploadOutcome result) noexcept { outcome = result; }
    void announceOutcome() { triggerAsyncUpdate(); }
    // Message thread, when an upload starts.
    void clearOutcome() noexcept { outcome = UploadOutcome::none; }
    // Upload thread: what has been sent so far.
    void setPosition (const UploadPosition& newPosition);

    InterfaceBaseClass* deviceInterface;
    FirmwareImage* firmwareImage;

private:
    void handleAsyncUpdate() override;

    std::atomic<UploadOutcome> outcome { UploadOutcome::none };
    mutable juce::SpinLock positionLock;
    UploadPosition position;
    juce::ListenerList<Listener> uploadListeners;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ProtocolBaseClass)
};
