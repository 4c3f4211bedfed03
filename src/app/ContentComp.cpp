#include "app/ContentComp.h"

#include "app/AlertBox.h"
#include "app/AutoUpdate.h"
#include "app/CommandLine.h"
#include "firmware/BuiltInFirmwareImage.h"
#include "firmware/FileFirmwareImage.h"
#include "help/VexaHelpWindowClass.h"
#include "interface/MidiInterfaceClass.h"
#include "protocol/BasicSysexProtocolClass.h"

namespace
{
const juce::Colour readyColour = juce::Colours::green.brighter (0.99f);  // 0xff7ebf7e
const juce::Colour notReadyColour = juce::Colours::red.brighter (0.99f); // 0xffff7e7e
} // namespace

ContentComp::ContentComp (const juce::String& commandLine, MidiPortProvider& ports)
{
    // Before anything is built, so that every component and window draws with it from the start.
    juce::LookAndFeel::setDefaultLookAndFeel (&lookAndFeel);

    helpWindow = std::make_unique<VexaHelpWindowClass>();

    midiInterface = std::make_unique<MidiInterfaceClass> (true, false, ports);

    firmwareImage = std::make_unique<BuiltInFirmwareImage>();
    firmwareImage->setProductName ("Halvane Chorus");

    protocol = std::make_unique<BasicSysexProtocolClass> (midiInterface.get(), firmwareImage.get());

    const auto options = parseCommandLine (commandLine);
    bAutoUpdate = options.bAutoUpdate;

    const bool fileLoaded = options.bFile && loadFirmwareFile (options.strFile);

    addAndMakeVisible (*midiInterface);

    // After the file is loaded: the panel listens to the upload thread of the final image.
    protocol->addChangeListener (this);
    midiInterface->addChangeListener (this);

    auto infoText = "This software updater will update your " + firmwareImage->getProductName();

    if (fileLoaded)
    {
        infoText << " firmware from the loaded sysex file";
    }
    else
    {
        infoText << " firmware to version " << firmwareImage->getFirmwareVersion();

        if (firmwareImage->getRevision() != 0)
            infoText << " - R" << firmwareImage->getRevision();
    }

    infoLabel = std::make_unique<juce::Label> (juce::String(), infoText);
    addAndMakeVisible (*infoLabel);

    step1Label = std::make_unique<juce::Label> (juce::String(), "STEP1");
    addAndMakeVisible (*step1Label);
    step2Label = std::make_unique<juce::Label> (juce::String(), "STEP2");
    addAndMakeVisible (*step2Label);

    updateButton = std::make_unique<juce::TextButton> ("update", "click here to update the product");
    addAndMakeVisible (*updateButton);
    updateButton->addListener (this);
    updateButton->setConnectedEdges (juce::Button::ConnectedOnLeft);

    applyReadyState();

    displayedProgress = 0.0;
    progressBar = std::make_unique<juce::ProgressBar> (displayedProgress);
    addAndMakeVisible (*progressBar);

    progressLabel = std::make_unique<juce::Label> (juce::String(), "Update progress:");
    progressLabel->attachToComponent (progressBar.get(), false);

    helpButton = std::make_unique<juce::TextButton> ("Help", "click here to get help");
    addAndMakeVisible (*helpButton);
    helpButton->addListener (this);

    if (bAutoUpdate)
    {
        midiInterface->selectOutput (options.nOutputid);

        // Nobody watches an unattended update: flashing the built-in image in place of the file
        // that was asked for would report success for an update that never happened.
        if (options.bFile && !fileLoaded)
            progressLabel->setText (juce::String ("Update progress: ") + fileNotLoadedText,
                                    juce::dontSendNotification);
        else
            buttonClicked (updateButton.get());
    }
}

ContentComp::~ContentComp()
{
    // The upload thread uses the interface and the image: it goes first.
    protocol = nullptr;

    progressLabel = nullptr;
    helpButton = nullptr;
    progressBar = nullptr;
    updateButton = nullptr;
    step2Label = nullptr;
    step1Label = nullptr;
    infoLabel = nullptr;
    midiInterface = nullptr;

    firmwareImage = nullptr;
    helpWindow = nullptr;

    // Give up the default before the look-and-feel member goes. Every window on the desktop is
    // told of the change, so the main window takes the panel out before deleting it.
    if (&juce::LookAndFeel::getDefaultLookAndFeel() == &lookAndFeel)
        juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
}

bool ContentComp::loadFirmwareFile (const juce::String& fileName)
{
    auto fileImage = std::make_unique<FileFirmwareImage> (fileName);

    if (fileImage->getData() == nullptr)
        return false;

    protocol = nullptr;
    firmwareImage = std::move (fileImage);
    protocol = std::make_unique<BasicSysexProtocolClass> (midiInterface.get(), firmwareImage.get());
    return true;
}

bool ContentComp::hasCompletedUpdate() const
{
    return protocol->getStatusText() == BasicSysexProtocolClass::completedText;
}

void ContentComp::applyReadyState()
{
    const bool ready = midiInterface->isDeviceReady();
    const auto colour = ready ? readyColour : notReadyColour;

    updateButton->setEnabled (ready);
    updateButton->setColour (juce::TextButton::buttonColourId, colour);
    updateButton->setColour (juce::TextButton::buttonOnColourId, colour);
}

bool ContentComp::isUploadRunning() const
{
    return protocol != nullptr && protocol->isThreadRunning();
}

void ContentComp::resized()
{
    const int w = getWidth();

    infoLabel->setBounds (10, 15, w - 20, 50);
    helpButton->setBounds (w - 104, 2, 94, 30);
    step1Label->setBounds (10, infoLabel->getBottom() + 5, w - 20, 30);
    midiInterface->setBounds (10, step1Label->getBottom() + 5, w - 20, midiInterface->getPreferredHeight());
    step2Label->setBounds (10, midiInterface->getBottom() + 10, w - 20, 30);
    updateButton->setBounds (w - 104, step2Label->getBottom() + 20, 94, 30);
    progressBar->setBounds (10, step2Label->getBottom() + 20, w - 114, 30);

    helpWindow->centreWithSize (550, 400);
}

void ContentComp::buttonClicked (juce::Button* button)
{
    if (button == updateButton.get())
    {
        // Between the last progress step and the end of the previous upload the button is
        // already enabled, but no new upload can start yet: such a press changes nothing.
        if (isUploadRunning())
            return;

        if (midiInterface->isDeviceReady())
        {
            displayedProgress = 0.0;
            protocol->startUpload();
            updateButton->setEnabled (false);
        }
        else
        {
            AlertBox::show ({ juce::MessageBoxIconType::WarningIcon, juce::String(),
                              "Please select an output device:", "ok" });
        }
    }
    else if (button == helpButton.get())
    {
        helpWindow->setVisible (!helpWindow->isVisible());
        helpWindow->centreWithSize (550, 400);
    }
}

void ContentComp::changeListenerCallback (juce::ChangeBroadcaster* source)
{
    if (source == midiInterface.get())
    {
        // The device must not change under a running upload: keep the selector disabled until
        // the upload thread enables it at the end.
        if (isUploadRunning())
        {
            midiInterface->setEnabled (false);
        }
        else
        {
            midiInterface->setEnabled (true);
            applyReadyState();
        }
    }
    else if (source == protocol.get())
    {
        displayedProgress = protocol->getProgress();

        if (displayedProgress == 1.0)
        {
            updateButton->setEnabled (true);
            midiInterface->setEnabled (true);
        }

        progressLabel->setText ("Update progress: " + protocol->getStatusText(), juce::dontSendNotification);
    }

    repaint();
}
