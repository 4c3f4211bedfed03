#include "app/ContentComp.h"

#include "app/AlertBox.h"
#include "app/ProgressBarText.h"
#include "app/UpdateAdvice.h"
#include "firmware/BuiltInFirmwareImage.h"
#include "help/VexaHelpWindowClass.h"
#include "interface/MidiInterfaceClass.h"
#include "lookandfeel/WindowSizes.h"
#include "protocol/BasicSysexProtocolClass.h"

namespace
{
const juce::Colour readyColour = juce::Colours::green.brighter (0.99f);  // 0xff7ebf7e
const juce::Colour notReadyColour = juce::Colours::red.brighter (0.99f); // 0xffff7e7e
// The progress label's text alone, and before the status (after a blank).
const char* const progressLabelText = "Update progress:";
} // namespace

ContentComp::ContentComp (const CommandLineOptions& options, MidiPortProvider& ports)
    : bAutoUpdate (options.bAutoUpdate), pauseAfterEachMessage (options.nPause)
{
    helpWindow = std::make_unique<VexaHelpWindowClass>();

    midiInterface = std::make_unique<MidiInterfaceClass> (true, false, ports);

    auto builtIn = std::make_unique<BuiltInFirmwareImage>();
    builtIn->setProductName (builtInProductName);
    replaceFirmwareImage (std::move (builtIn));

    auto fileProblem = FirmwareFileLoader::Problem::none;

    if (options.bFile)
    {
        fileProblem = openFirmwareFile (options.strFile, FileSource::commandLine);
        imageFromFile = fileProblem == FirmwareFileLoader::Problem::none;
    }

    // Only now: the message box about a file runs a modal loop, in which the interface's first
    // change message would reach a panel that has no widgets yet.
    addAndMakeVisible (*midiInterface);
    midiInterface->addChangeListener (this);

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

    progressBar = std::make_unique<juce::ProgressBar> (displayedProgress);
    addAndMakeVisible (*progressBar);

    progressLabel = std::make_unique<juce::Label> (juce::String(), progressLabelText);
    progressLabel->attachToComponent (progressBar.get(), false);

    helpButton = std::make_unique<juce::TextButton> ("Help", "click here to get help");
    addAndMakeVisible (*helpButton);
    helpButton->addListener (this);

    if (bAutoUpdate)
        beginAutomaticUpdate (AutomaticStart::decide (options, midiInterface->getOutputNames(), fileProblem));
}

// The members go in the reverse order of their declaration, which is the order of their lifetimes.
ContentComp::~ContentComp() = default;

void ContentComp::beginAutomaticUpdate (AutomaticStart start)
{
    if (start.outputItemId > 0)
        midiInterface->selectOutput (start.outputItemId);

    if (start.mayStart && !midiInterface->isDeviceReady())
        start = start.outputNotOpened (midiInterface->getOutputNames());

    if (start.mayStart)
    {
        startUpdate();
        return;
    }

    startFailure = start.failureStatus;
    startFailureText = start.failureLine;

    // The file's own message has been shown; the window goes on saying why nothing is sent.
    if (startFailure == ExitStatus::imageUnusable)
        progressLabel->setText (juce::String (progressLabelText) + " " + fileNotLoadedText,
                                juce::dontSendNotification);
    else
        askForOutput();
}

FileFirmwareImage::LoadResult ContentComp::loadFirmwareFile (const juce::String& fileName)
{
    FirmwareFileLoader loader (fileName, FirmwareFileLoader::Framing::checkedAtUpload);

    if (loader.isLoaded())
        replaceFirmwareImage (loader.takeImage());

    return loader.getLoadResult();
}

FirmwareFileLoader::Problem ContentComp::openFirmwareFile (const juce::String& fileName, FileSource source)
{
    const bool dropped = source == FileSource::drop;
    // Checked now rather than at the update when dropped: the user is here to choose another file.
    FirmwareFileLoader loader (fileName, dropped ? FirmwareFileLoader::Framing::checkedNow
                                                 : FirmwareFileLoader::Framing::checkedAtUpload);
    const auto problem = loader.getProblem();

    if (loader.isLoaded())
    {
        replaceFirmwareImage (loader.takeImage());
        return problem;
    }

    // An unattended update never sends the built-in image in place of the file asked for.
    const juce::String consequence = dropped ? " The firmware shown in the window stays selected."
                                     : bAutoUpdate
                                         ? " Nothing will be sent."
                                         : " The application will use the build-in firmware version.";

    // By hand the user may still want the file named on the command line: say how to send it.
    const auto advice = dropped || bAutoUpdate
                            ? juce::String()
                            : "\n\n" + adviceFor (UpdateProblem::fileNotLoaded, false).paragraph;

    AlertBox::show ({ juce::MessageBoxIconType::NoIcon, FirmwareFileLoader::titleFor (fileName, problem),
                      "A firmware file was " + juce::String (dropped ? "dropped" : "specified") +
                          ", but it " + FirmwareFileLoader::describeProblem (problem) + ".\n" + consequence +
                          advice,
                      "ok" });
    return problem;
}

void ContentComp::replaceFirmwareImage (std::unique_ptr<FirmwareImage> image)
{
    jassert (!isUploadRunning());

    protocol = nullptr;
    firmwareImage = std::move (image);
    protocol = std::make_unique<BasicSysexProtocolClass> (midiInterface.get(), firmwareImage.get());
    protocol->setPauseAfterEachMessage (pauseAfterEachMessage);
    protocol->addChangeListener (this);
    protocol->addUploadListener (this);
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

    if (openFirmwareFile (files[0], FileSource::drop) != FirmwareFileLoader::Problem::none)
        return;

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

    return describeOutcome (protocol->getOutcome());
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
        startUpdate();
    }
    else if (button == helpButton.get())
    {
        helpWindow->setVisible (!helpWindow->isVisible());
        helpWindow->centreWithSize (WindowSizes::helpWidth, WindowSizes::helpHeight);
    }
}

void ContentComp::startUpdate()
{
    // The button is off until the previous upload has ended; a press from elsewhere (automatic mode)
    // during one changes nothing.
    if (isUploadRunning())
        return;

    if (!midiInterface->isDeviceReady())
    {
        askForOutput();
        return;
    }

    displayedProgress = 0.0;
    uploadStarted = true;
    // Disabled first: nothing the start broadcasts may find it usable.
    updateButton->setEnabled (false);
    protocol->startUpload();
}

void ContentComp::askForOutput()
{
    AlertBox::show (
        { juce::MessageBoxIconType::WarningIcon, juce::String(), "Please select an output device:", "ok" });
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
