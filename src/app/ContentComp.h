#pragma once

#include "lookandfeel/TemplateLookAndFeel.h"

#include <juce_gui_basics/juce_gui_basics.h>

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
// Its look-and-feel becomes the default of every component for the panel's whole life.
class ContentComp final : public juce::Component, public juce::Button::Listener, public juce::ChangeListener
{
public:
    // ports: where the MIDI devices come from; it must outlive the panel.
    ContentComp (const juce::String& commandLine, MidiPortProvider& ports);
    ~ContentComp() override;

    // Shown after "Update progress: " when --autoupdate names a file that yields no image.
    static constexpr const char* fileNotLoadedText =
        "Update not started: the firmware file could not be loaded";

    // The current image (the built-in one unless --file named a usable file). Never null.
    FirmwareImage* getFirmwareImage() const noexcept { return firmwareImage.get(); }

    // The upload thread for the current image; the main window stops it when it closes.
    BasicSysexProtocolClass* getProtocol() const noexcept { return protocol.get(); }

    // The last upload has sent the whole image ("Update completed").
    bool hasCompletedUpdate() const;

    // Replaces the image and its upload thread by the named file's when the file yields data;
    // otherwise keeps both (a missing file has been reported to the user by then) and returns
    // false. Only while the panel is built: no upload may be running.
    bool loadFirmwareFile (const juce::String& fileName);

    void resized() override;
    void buttonClicked (juce::Button* button) override;
    void changeListenerCallback (juce::ChangeBroadcaster* source) override;

private:
    // Enabled and light green while an output is ready, else disabled and light red.
    void applyReadyState();
    bool isUploadRunning() const;

    // Declared first: made the default before anything else is built, and destroyed last.
    TemplateLookAndFeel lookAndFeel;
    juce::TooltipWindow tooltipWindow { nullptr, 700 };

    std::unique_ptr<VexaHelpWindowClass> helpWindow;
    std::unique_ptr<MidiInterfaceClass> midiInterface;
    std::unique_ptr<BasicSysexProtocolClass> protocol;
    std::unique_ptr<juce::TextButton> updateButton;
    std::unique_ptr<juce::ProgressBar> progressBar;
    std::unique_ptr<juce::Label> progressLabel;
    // What the progress bar shows. Written under the message-manager lock (on the upload thread
    // from the progress broadcast, otherwise on the message thread) and read by the bar's timer on
    // the message thread, which cannot run while another thread holds that lock.
    double displayedProgress = 0.0;
    std::unique_ptr<juce::TextButton> helpButton;
    std::unique_ptr<juce::Label> infoLabel;
    std::unique_ptr<juce::Label> step1Label;
    std::unique_ptr<juce::Label> step2Label;
    std::unique_ptr<FirmwareImage> firmwareImage;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ContentComp)
};
