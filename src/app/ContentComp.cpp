#include "app/ContentComp.h"

#include "app/AlertBox.h"
#include "app/CommandLine.h"
#include "app/OutputMatch.h"
#include "app/ProgressBarText.h"
#include "app/UpdateAdvice.h"
#include "firmware/BuiltInFirmwareImage.h"
#include "help/VexaHelpWindowClass.h"
#include "interface/MidiInterfaceClass.h"
#include "lookandfeel/WindowSizes.h"
#include "protocol/BasicSysexProtocolClass.h"
#include "protocol/SysexImageFraming.h"

namespace
{
const juce::Colour readyColour = juce::Colours::green.brighter (0.99f);  // 0xff7ebf7e
const juce::Colour notReadyColour = juce::Colours::red.brighter (0.99f); // 0xffff7e7e
// The progress label's text alone, and before the status (after a blank).
const char* const progressLabelText = "Update progress:";

// What is wrong with a file that yields no image, as the end of "... but it ...".
juce::String describeProblem (FileFirmwareImage::LoadResult result)
{
    switch (result)
    {
        case FileFirmwareImage::LoadResult::missing:
            return "could not be found";
        case FileFirmwareImage::LoadResult::empty:
            return "is empty";
        case FileFirmwareImage::LoadResult::unreadable:
            return "could not be read";
        case FileFirmwareImage::LoadResult::tooLarge:
            return "is too large to be a firmware image";
        case FileFirmwareImage::LoadResult::loaded:
            break;
    }

    return {};
}

juce::String titleFor (const juce::String& fileName, FileFirmwareImage::LoadResult result)
{
    switch (result)
    {
        case FileFirmwareImage::LoadResult::missing:
            return "File " + fileName + " not found";
        case FileFirmwareImage::LoadResult::empty:
            return "File " + fileName + " is empty";
        case FileFirmwareImage::LoadResult::unreadable:
            return "File " + fileName + " could not be read";
        case FileFirmwareImage::LoadResult::tooLarge:
            return "File " + fileName + " is too large";
        case FileFirmwareImage::LoadResult::loaded:
            break;
    }

    return {};
}
} // namespace

ContentComp::ContentComp (const juce::String& commandLine, MidiPortProvider& ports)
{
    // Before anything is built, so that every component and window draws with it from the start.
    juce::LookAndFeel::setDefaultLookAndFeel (&lookAndFeel);

    helpWindow = std::make_unique<VexaHelpWindowClass>();

    midiInterface = std::make_unique<MidiInterfaceClass> (true, false, ports);

    firmwareImage = std::make_unique<BuiltInFirmwareImage>();
    firmwareImage->setProductName (builtInProductName);

    protocol = std::make_unique<BasicSysexProtocolClass> (midiInterface.get(), firmwareImage.get());

    const auto options = parseCommandLine (commandLine);
    bAutoUpdate = options.bAutoUpdate;
    pauseAfterEachMessage = std::chrono::milliseconds (options.nPause);
    protocol->setPauseAfterEachMessage (pauseAfterEachMessage);

    bool fileLoaded = false;

    if (options.bFile)
    {
        const auto result = loadFirmwareFile (options.strFile);
        fileLoaded = result == FileFirmwareImage::LoadResult::loaded;

        if (!fileLoaded)
            reportFileNotLoaded (options.strFile, result);
    }

    addAndMakeVisible (*midiInterface);

    // After the file is loaded: the panel listens to the upload thread of the final image.
    protocol->addChangeListener (this);
    protocol->addUploadListener (this);
    listeningToProtocol = true;
    midiInterface->addChangeListener (this);

    imageFromFile = fileLoaded;
    infoLabel = std::make_unique<juce::Label> (juce::String(), makeInfoText());
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

    progressLabel = std::make_unique<juce::Label> (juce::String(), progressLabelText);
    progressLabel->attachToComponent (progressBar.get(), false);

    helpButton = std::make_unique<juce::TextButton> ("Help", "click here to get help");
    addAndMakeVisible (*helpButton);
    helpButton->addListener (this);

    if (bAutoUpdate)
    {
        // By name when one is given: a script need not know the list's order.
        const auto& names = midiInterface->getOutputNames();
        const auto byName = matchOutputName (names, options.strOutput);

        if (options.strOutput.isEmpty())
            midiInterface->selectOutput (options.nOutputid);
        else if (byName.itemId > 0)
            midiInterface->selectOutput (byName.itemId);

        // Nobody watches an unattended update: flashing the built-in image in place of the file
        // that was asked for would report success for an update that never happened.
        if (options.bFile && !fileLoaded)
        {
            progressLabel->setText (juce::String (progressLabelText) + " " + fileNotLoadedText,
                                    juce::dontSendNotification);
        }
        else
        {
            if (!midiInterface->isDeviceReady())
            {
                const int n = byName.itemId > 0 ? byName.itemId : options.nOutputid;

                startFailure = ExitStatus::noSuchOutput;
                startFailureText = options.strOutput.isNotEmpty() && byName.itemId == 0
                                       ? describeOutputMismatch (names, options.strOutput, byName)
                                   : n <= names.size()
                                       ? "MIDI output " + juce::String (n) + " (" + names[n - 1] +
                                             ") could not be opened; nothing was sent"
                                       : "there is no MIDI output " + juce::String (n) + " (" +
                                             juce::String (names.size()) + " outputs); nothing was sent";
            }

            buttonClicked (updateButton.get());
        }
    }
}

ContentComp::~ContentComp()
{
    // The upload thread uses the interface and the image: it goes first.
    protocol->removeUploadListener (this);
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

FileFirmwareImage::LoadResult ContentComp::loadFirmwareFile (const juce::String& fileName)
{
    auto fileImage = std::make_unique<FileFirmwareImage> (fileName);
    const auto result = fileImage->getLoadResult();

    if (result != FileFirmwareImage::LoadResult::loaded)
        return result;

    replaceFirmwareImage (std::move (fileImage));
    return result;
}

void ContentComp::replaceFirmwareImage (std::unique_ptr<FirmwareImage> image)
{
    jassert (!isUploadRunning());

    const bool listening = listeningToProtocol;
    protocol = nullptr;
    firmwareImage = std::move (image);
    protocol = std::make_unique<BasicSysexProtocolClass> (midiInterface.get(), firmwareImage.get());
    protocol->setPauseAfterEachMessage (pauseAfterEachMessage);

    if (listening)
    {
        protocol->addChangeListener (this);
        protocol->addUploadListener (this);
    }
}

juce::String ContentComp::makeInfoText() const
{
    auto infoText = "This software updater will update your " + firmwareImage->getProductName();

    if (imageFromFile)
    {
        infoText << " firmware from the loaded sysex file";
    }
    else
    {
        infoText << " firmware to version " << firmwareImage->getVersionText();
    }

    return infoText;
}

bool ContentComp::isInterestedInFileDrag (const juce::StringArray&)
{
    // Any file, so that one that will not do is refused with a word; nothing during an upload.
    return !isUploadRunning();
}

void ContentComp::filesDropped (const juce::StringArray& files, int, int)
{
    if (isUploadRunning())
        return;

    if (files.size() != 1 || !juce::File (files[0]).hasFileExtension ("syx"))
    {
        AlertBox::show ({ juce::MessageBoxIconType::WarningIcon, juce::String(),
                          "Please drop a single firmware file (.syx).", "ok" });
        return;
    }

    const auto& fileName = files[0];
    auto fileImage = std::make_unique<FileFirmwareImage> (fileName);
    const auto result = fileImage->getLoadResult();
    const juce::String keeps = " The firmware shown in the window stays selected.";

    if (result != FileFirmwareImage::LoadResult::loaded)
    {
        AlertBox::show ({ juce::MessageBoxIconType::NoIcon, titleFor (fileName, result),
                          "A firmware file was dropped, but it " + describeProblem (result) + ".\n" + keeps,
                          "ok" });
        return;
    }

    // Checked now rather than at the update: the user is here to choose another file.
    if (!SysexImageFraming (fileImage->getData(), fileImage->getSize()).isIntact())
    {
        AlertBox::show (
            { juce::MessageBoxIconType::NoIcon, "File " + fileName + " is damaged",
              "A firmware file was dropped, but it is not a run of complete SysEx messages.\n" + keeps,
              "ok" });
        return;
    }

    replaceFirmwareImage (std::move (fileImage));
    imageFromFile = true;
    uploadStarted = false;
    startFailure = ExitStatus::stopped;
    startFailureText.clear();

    infoLabel->setText (makeInfoText(), juce::dontSendNotification);
    displayedProgress = 0.0;
    progressLabel->setText (progressLabelText, juce::dontSendNotification);
    applyReadyState();

    if (onFirmwareImageChanged)
        onFirmwareImageChanged();
}

void ContentComp::reportFileNotLoaded (const juce::String& fileName, FileFirmwareImage::LoadResult result)
{
    // An unattended update never sends the built-in image in place of the file asked for.
    const juce::String consequence =
        bAutoUpdate ? " Nothing will be sent." : " The application will use the build-in firmware version.";

    // By hand the user may still want that file: say how to send it.
    const auto advice =
        bAutoUpdate ? juce::String() : "\n\n" + adviceFor (UpdateProblem::fileNotLoaded, false).paragraph;

    AlertBox::show (
        { juce::MessageBoxIconType::NoIcon, titleFor (fileName, result),
          "A firmware file was specified, but it " + describeProblem (result) + ".\n" + consequence + advice,
          "ok" });

    if (bAutoUpdate)
    {
        startFailure = ExitStatus::imageUnusable;
        startFailureText =
            "the firmware file " + fileName + " " + describeProblem (result) + "; nothing was sent";
    }
}

bool ContentComp::stopUpload (int timeoutMs)
{
    if (protocol == nullptr)
        return true;

    // The thread ends between two messages; one waiting for the message-manager lock gives up at
    // once.
    protocol->signalThreadShouldExit();
    return protocol->waitForThreadToExit (timeoutMs);
}

ExitStatus ContentComp::getExitStatus() const
{
    if (!uploadStarted)
        return startFailure;

    return exitStatusFor (protocol->getOutcome());
}

juce::String ContentComp::describeExitStatus() const
{
    if (!uploadStarted)
        return startFailureText.isNotEmpty() ? startFailureText : "the update did not start";

    switch (protocol->getOutcome())
    {
        case UploadOutcome::completed:
            return "the update completed";
        case UploadOutcome::damagedImage:
            return "the firmware image is damaged; nothing was sent";
        case UploadOutcome::noDevice:
            return "no output device was open; nothing was sent";
        case UploadOutcome::deviceLost:
            return "the output device was disconnected during the update; it did not complete";
        case UploadOutcome::stopped:
        case UploadOutcome::none:
            break;
    }

    return "the update was stopped before it completed";
}

juce::String ContentComp::describeNextStep() const
{
    std::optional<UpdateProblem> problem;
    bool partSent = false;

    if (!uploadStarted)
    {
        if (startFailure == ExitStatus::imageUnusable)
            problem = UpdateProblem::fileNotLoaded;
        else if (startFailure == ExitStatus::noSuchOutput)
            problem = UpdateProblem::outputNotOpened;
    }
    else
    {
        // One still running is being stopped under the application.
        const auto outcome = protocol->getOutcome();
        problem = problemFor (outcome == UploadOutcome::none ? UploadOutcome::stopped : outcome);
        partSent = protocol->getPosition().messagesSent > 0;
    }

    return problem ? adviceFor (*problem, partSent).sentence : juce::String();
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

    helpWindow->centreWithSize (WindowSizes::helpWidth, WindowSizes::helpHeight);
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
            uploadStarted = true;
            // Disabled first: nothing the start broadcasts may find it usable.
            updateButton->setEnabled (false);
            protocol->startUpload();
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
        helpWindow->centreWithSize (WindowSizes::helpWidth, WindowSizes::helpHeight);
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
        // The button and the selector come back only when the upload has ended (uploadFinished): the
        // progress reaches 1.0 while the last messages may still be on their way.
        displayedProgress = protocol->getProgress();

        // The time left only while the upload runs; its start (progress set back to 0 before the
        // thread runs) still has the last upload's position.
        if (isUploadRunning())
            progressBar->setTextToDisplay (progressBarText (displayedProgress, protocol->getPosition(),
                                                            protocol->getPauseAfterEachMessage()));

        progressLabel->setText (juce::String (progressLabelText) + " " + protocol->getStatusText(),
                                juce::dontSendNotification);
    }

    repaint();
}

void ContentComp::uploadFinished (UploadOutcome outcome)
{
    progressBar->setPercentageDisplay (true);

    // A stopped upload means the window is closing: the interface stays locked, and nobody is left
    // to read advice.
    if (outcome != UploadOutcome::stopped)
    {
        midiInterface->setEnabled (true);
        applyReadyState();

        // Unattended, the line on stderr carries the advice instead (describeNextStep).
        if (!bAutoUpdate && problemFor (outcome).has_value())
            showAdvice (outcome);
    }

    if (onUploadFinished)
        onUploadFinished (outcome);
}

void ContentComp::showAdvice (UploadOutcome outcome)
{
    const auto advice = adviceFor (*problemFor (outcome), protocol->getPosition().messagesSent > 0);

    // Not from inside the protocol's notice: the box runs a modal loop, and the owner hears of the
    // end first. A panel gone meanwhile shows nothing.
    juce::MessageManager::callAsync (
        [safePanel = juce::Component::SafePointer<ContentComp> (this), advice]
        {
            if (safePanel != nullptr)
                AlertBox::show (
                    { juce::MessageBoxIconType::WarningIcon, advice.title, advice.paragraph, "ok" });
        });
}
