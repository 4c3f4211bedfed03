#pragma once

#include "app/AutomaticStart.h"
#include "app/CommandLine.h"
#include "app/ExitStatus.h"
#include "app/FirmwareFileLoader.h"
#include "app/ScopedDefaultLookAndFeel.h"
#include "firmware/FileFirmwareImage.h"
#include "lookandfeel/TemplateLookAndFeel.h"
#include "protocol/ProtocolBaseClass.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <chrono>
#include <functional>
#include <memory>

class BasicSysexProtocolClass;
class FirmwareImage;
class MidiInterfaceClass;
class MidiPortProvider;
class VexaHelpWindowClass;

// The updater panel: puts the system together and drives the update from the user's side. It
// shows the product and firmware version, the output selector, the update button, the progress
// of the upload and a help button; in automatic mode (--autoupdate) it selects the output and
// starts the update by itself while it is built, unless --file named a file it could not load.
//
// It keeps how the automatic update has gone so far (getExitStatus) and tells its owner when an
// upload ends (onUploadFinished); what follows, such as quitting, is the owner's decision.
//
// Its look-and-feel becomes the default of every component for the panel's whole life.
// Message thread only, except where a member says otherwise.
class ContentComp final : public juce::Component,
                          public juce::Button::Listener,
                          public juce::ChangeListener,
                          public juce::FileDragAndDropTarget,
                          private ProtocolBaseClass::Listener
{
public:
    // options: the command line, parsed. ports: where the MIDI devices come from; it must outlive
    // the panel.
    ContentComp (const CommandLineOptions& options, MidiPortProvider& ports);
    ~ContentComp() override;

    // The product the built-in image is for.
    static constexpr const char* builtInProductName = "Halvane Chorus";

    // Shown after "Update progress: " when --autoupdate names a file that yields no image.
    static constexpr const char* fileNotLoadedText =
        "Update not started: the firmware file could not be loaded";

    // The current image (the built-in one unless --file named a usable file). Never null.
    FirmwareImage* getFirmwareImage() const noexcept { return firmwareImage.get(); }

    // The upload thread for the current image.
    BasicSysexProtocolClass* getProtocol() const noexcept { return protocol.get(); }

    bool isAutomaticMode() const noexcept { return bAutoUpdate; }

    // Asks a running upload to stop after the message in progress and waits for that, at most
    // timeoutMs. True when no upload runs any more.
    bool stopUpload (int timeoutMs);

    // How the automatic update stands: the outcome of the last upload, or why none was started.
    // An upload still running counts as stopped (the application is ending under it).
    ExitStatus getExitStatus() const;
    // One line for the user saying why the status is not "completed".
    juce::String describeExitStatus() const;
    // What the user can do about it, in one sentence; empty when there is nothing to do.
    juce::String describeNextStep() const;

    // Called when an upload has ended, after the panel has shown it.
    std::function<void (UploadOutcome)> onUploadFinished;
    // Called when a dropped file has replaced the firmware image (the window's title follows it).
    std::function<void()> onFirmwareImageChanged;

    // Replaces the image and its upload thread by the named file's when the file yields data;
    // otherwise keeps both and says what was wrong, telling the user nothing. No upload may be
    // running.
    FileFirmwareImage::LoadResult loadFirmwareFile (const juce::String& fileName);

    void resized() override;
    void buttonClicked (juce::Button* button) override;
    void changeListenerCallback (juce::ChangeBroadcaster* source) override;

    // A single .syx dropped while no upload runs is loaded as --file would load it (nothing is sent
    // by the drop itself); a file that yields no image, or is damaged, is reported and the current
    // image kept. Other files, or several, are refused with a message. Ignored during an upload.
    bool isInterestedInFileDrag (const juce::StringArray& files) override;
    void filesDropped (const juce::StringArray& files, int x, int y) override;

private:
    // Where a file to load was named: the texts and the checks differ.
    enum class FileSource
    {
        commandLine, // --file
        drop
    };

    // The one way a file named by the user is loaded: on success the image becomes current,
    // otherwise the user is told what was wrong and the image stays. A dropped file's framing is
    // checked at once; --file's is checked by the upload.
    FirmwareFileLoader::Problem openFirmwareFile (const juce::String& fileName, FileSource source);
    // Makes the image current, with a new upload thread for it that the panel listens to. No upload
    // may be running.
    void replaceFirmwareImage (std::unique_ptr<FirmwareImage> image);
    juce::String makeInfoText() const;

    // Selects the output the start names and starts the upload, or records why it cannot start
    // and shows that.
    void beginAutomaticUpdate (AutomaticStart start);
    // What the update button does: starts an upload on the ready output, or asks for an output.
    void startUpdate();
    void askForOutput();
    void uploadFinished (UploadOutcome outcome) override;
    // Manual mode: a message box that says what went wrong and what to do now. Shown once the
    // current message has been handled, so that nothing waits for the user to close it.
    void showAdvice (UploadOutcome outcome);

    // Enabled and light green while an output is ready, else disabled and light red.
    void applyReadyState();
    bool isUploadRunning() const;

    // Members in the order of their lifetimes: each is built after, and goes before, those it uses.
    TemplateLookAndFeel lookAndFeel;
    juce::TooltipWindow tooltipWindow { nullptr, 700 };
    // Before anything further is built, so that every component and window draws with it from
    // the start.
    ScopedDefaultLookAndFeel defaultLookAndFeel { lookAndFeel };

    std::unique_ptr<VexaHelpWindowClass> helpWindow;
    std::unique_ptr<MidiInterfaceClass> midiInterface;
    std::unique_ptr<FirmwareImage> firmwareImage;

    // What the progress bar shows (the bar holds a reference to it). Written under the
    // message-manager lock (on the upload thread from the progress broadcast, otherwise on the
    // message thread) and read by the bar's timer on the message thread, which cannot run while
    // another thread holds that lock.
    double displayedProgress = 0.0;
    std::unique_ptr<juce::Label> infoLabel;
    std::unique_ptr<juce::Label> step1Label;
    std::unique_ptr<juce::Label> step2Label;
    std::unique_ptr<juce::TextButton> updateButton;
    std::unique_ptr<juce::ProgressBar> progressBar;
    std::unique_ptr<juce::Label> progressLabel;
    std::unique_ptr<juce::TextButton> helpButton;

    // Automatic mode (--autoupdate), fixed while the panel is built.
    const bool bAutoUpdate;
    // --pause: the wait after each message, for every upload thread the panel makes.
    const std::chrono::milliseconds pauseAfterEachMessage;
    // The image came from a file (--file or a drop), not from the program.
    bool imageFromFile = false;
    // Why the automatic update did not start, until an upload is started.
    ExitStatus startFailure = ExitStatus::stopped;
    juce::String startFailureText;
    bool uploadStarted = false;

    // Last, so it goes first: the upload thread sends from the interface and the image and reports
    // to the widgets.
    std::unique_ptr<BasicSysexProtocolClass> protocol;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ContentComp)
};
