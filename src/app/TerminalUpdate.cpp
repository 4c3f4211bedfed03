#include "app/TerminalUpdate.h"

#include "app/AutomaticStart.h"
#include "app/ContentComp.h"
#include "app/FirmwareFileLoader.h"
#include "app/UpdateAdvice.h"
#include "firmware/BuiltInFirmwareImage.h"
#include "interface/MidiInterfaceClass.h"
#include "protocol/BasicSysexProtocolClass.h"

TerminalUpdate::TerminalUpdate (const CommandLineOptions& optionsToUse, MidiPortProvider& portsToUse,
                                std::ostream& out, TerminalProgress::Style style)
    : options (optionsToUse), ports (portsToUse), progress (out, style)
{
    jassert (options.bAutoUpdate);
}

TerminalUpdate::~TerminalUpdate()
{
    stopTimer();

    // The upload thread uses the interface and the image: it goes first.
    if (protocol != nullptr)
        protocol->removeUploadListener (this);

    protocol = nullptr;
    firmwareImage = nullptr;
    midiInterface = nullptr;
}

void TerminalUpdate::start()
{
    auto fileProblem = FirmwareFileLoader::Problem::none;

    if (options.bFile)
    {
        FirmwareFileLoader loader (options.strFile, FirmwareFileLoader::Framing::checkedAtUpload);
        fileProblem = loader.getProblem();
        firmwareImage = loader.takeImage();
    }
    else
    {
        firmwareImage = std::make_unique<BuiltInFirmwareImage>();
        firmwareImage->setProductName (ContentComp::builtInProductName);
    }

    midiInterface = std::make_unique<MidiInterfaceClass> (true, false, ports);
    auto decision = AutomaticStart::decide (options, midiInterface->getOutputNames(), fileProblem);

    if (decision.outputItemId > 0)
        midiInterface->selectOutput (decision.outputItemId);

    if (decision.mayStart && !midiInterface->isDeviceReady())
        decision = decision.outputNotOpened (midiInterface->getOutputNames());

    if (!decision.mayStart)
    {
        finish (decision.failureStatus, decision.failureLine);
        return;
    }

    protocol = std::make_unique<BasicSysexProtocolClass> (midiInterface.get(), firmwareImage.get());
    protocol->setPauseAfterEachMessage (std::chrono::milliseconds (options.nPause));
    protocol->addUploadListener (this);
    protocol->startUpload();
    startTimer (pollIntervalMs);
}

void TerminalUpdate::stop (int timeoutMs)
{
    if (protocol == nullptr || finished)
        return;

    // The thread ends between two messages; one waiting for the message-manager lock gives up at
    // once.
    protocol->signalThreadShouldExit();
    protocol->waitForThreadToExit (timeoutMs);

    const auto outcome = protocol->getOutcome();
    finish (exitStatusFor (outcome), describeOutcome (outcome));
}

void TerminalUpdate::timerCallback()
{
    progress.show (protocol->getPosition(), protocol->getPauseAfterEachMessage(),
                   TerminalProgress::Clock::now());
}

void TerminalUpdate::uploadFinished (UploadOutcome outcome)
{
    finish (exitStatusFor (outcome), describeOutcome (outcome));
}

void TerminalUpdate::finish (ExitStatus status, const juce::String& line)
{
    if (finished)
        return;

    finished = true;
    exitStatus = status;
    stopTimer();

    const auto position = protocol != nullptr ? protocol->getPosition() : UploadPosition {};
    const auto pause =
        protocol != nullptr ? protocol->getPauseAfterEachMessage() : std::chrono::milliseconds (0);

    // The same next step as the window's advice, in one sentence on the same line.
    std::optional<UpdateProblem> problem;

    if (protocol != nullptr)
        problem = problemFor (protocol->getOutcome() == UploadOutcome::none ? UploadOutcome::stopped
                                                                            : protocol->getOutcome());
    else if (status == ExitStatus::imageUnusable)
        problem = UpdateProblem::fileNotLoaded;
    else if (status == ExitStatus::noSuchOutput)
        problem = UpdateProblem::outputNotOpened;

    const auto nextStep = problem && status != ExitStatus::completed
                              ? ". " + adviceFor (*problem, position.messagesSent > 0).sentence
                              : juce::String();
    progress.finish (position, pause, "Quillon: " + line + nextStep, status != ExitStatus::completed);

    if (onFinished)
        onFinished (status);
}
