// The whole updater panel in its main window, on virtual MIDI outputs (the suite runs under Xvfb).
#include "app/CommandLine.h"
#include "app/ContentComp.h"
#include "app/MainWindow.h"
#include "app/UpdateAdvice.h"
#include "firmware/BuiltInFirmwareImage.h"
#include "interface/MidiInterfaceClass.h"
#include "lookandfeel/TemplateLookAndFeel.h"
#include "lookandfeel/WindowSizes.h"
#include "protocol/BasicSysexProtocolClass.h"
#include "support/MessagePump.h"
#include "support/NeedsDisplay.h"
#include "support/ScopedAlertRecorder.h"
#include "support/SysexImages.h"
#include "support/TempFolder.h"
#include "support/TopLevelWindows.h"
#include "support/VirtualMidiPortProvider.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>

#include <unistd.h>

namespace
{
using Bytes = std::vector<juce::uint8>;

const juce::Colour lightGreen (0xff7ebf7e);
const juce::Colour lightRed (0xffff7e7e);
const juce::String builtInInfoText =
    "This software updater will update your Halvane Chorus firmware to version 1.0.03 - R1806";
// By hand, a file that was not loaded is followed by how to send it after all.
const juce::String fileNotLoadedAdvice = "\n\nNothing has been sent. To send that file, check its name and "
                                         "location, then drop it on this window or "
                                         "start Quillon again with --file and its path.";
const juce::String missingFileMessage = "A firmware file was specified, but it could not be found.\n"
                                        " The application will use the build-in firmware version." +
                                        fileNotLoadedAdvice;

// Lets a test hold the upload thread inside a send of a chosen message, and let it go on.
class SendGate
{
public:
    // Blocks the sender of message number `index` (counted from 1) until open() is called.
    void closeBefore (VirtualMidiOutput& output, int index)
    {
        output.setObserver (
            // The device calls a copy of the observer each time: the count lives outside it.
            [this, index, seen = std::make_shared<std::atomic<int>> (0)] (const juce::MidiMessage&)
            {
                if (++*seen != index)
                    return;

                std::unique_lock guard (lock);
                waiting = true;
                changed.notify_all();
                changed.wait (guard, [this] { return isOpen; });
            });
    }

    // The message thread must keep running meanwhile: the sender needs it between messages.
    bool isHolding()
    {
        const std::scoped_lock guard (lock);
        return waiting && !isOpen;
    }

    void open()
    {
        const std::scoped_lock guard (lock);
        isOpen = true;
        changed.notify_all();
    }

private:
    std::mutex lock;
    std::condition_variable changed;
    bool waiting = false;
    bool isOpen = false;
};

class UpdaterPanel : public ::testing::Test
{
protected:
    void SetUp() override { SKIP_WITHOUT_DISPLAY(); }

    void TearDown() override
    {
        gate.open();
        destroy();
        pedal.setObserver (nullptr);
    }

    void build (const juce::String& commandLine = {})
    {
        window = std::make_unique<MainWindow> (parseCommandLine (commandLine), ports);
        window->centreWithSize (WindowSizes::mainWidth, WindowSizes::mainHeight);
        panel = dynamic_cast<ContentComp*> (window->getContentComponent());
        ASSERT_NE (panel, nullptr);
    }

    void destroy()
    {
        panel = nullptr;
        window = nullptr;
    }

    static void pump (int milliseconds = 20)
    {
        juce::MessageManager::getInstance()->runDispatchLoopUntil (milliseconds);
    }

    template <typename Type>
    Type* find (const std::function<bool (Type&)>& matches = [] (Type&) { return true; }) const
    {
        std::function<Type*(juce::Component&)> search = [&] (juce::Component& parent) -> Type*
        {
            for (auto* child : parent.getChildren())
            {
                if (auto* typed = dynamic_cast<Type*> (child); typed != nullptr && matches (*typed))
                    return typed;

                if (auto* found = search (*child))
                    return found;
            }

            return nullptr;
        };

        return search (*panel);
    }

    juce::TextButton& button (const juce::String& text) const
    {
        auto* found =
            find<juce::TextButton> ([&] (juce::TextButton& b) { return b.getButtonText() == text; });
        EXPECT_NE (found, nullptr) << text;
        return *found;
    }

    juce::TextButton& updateButton() const { return button ("update"); }
    juce::TextButton& helpButton() const { return button ("Help"); }
    MidiInterfaceClass& midiInterface() const { return *find<MidiInterfaceClass>(); }
    juce::ComboBox& selector() const { return *find<juce::ComboBox>(); }
    juce::ProgressBar& progressBar() const { return *find<juce::ProgressBar>(); }

    juce::Label& progressLabel() const
    {
        return *find<juce::Label> ([this] (juce::Label& l)
                                   { return l.getAttachedComponent() == &progressBar(); });
    }

    juce::Label* labelStartingWith (const juce::String& start) const
    {
        return find<juce::Label> ([&] (juce::Label& l) { return l.getText().startsWith (start); });
    }

    // The value the progress bar shows.
    double barValue() const
    {
        return progressBar().getAccessibilityHandler()->getValueInterface()->getCurrentValue();
    }

    static juce::DocumentWindow* helpWindow()
    {
        return findTopLevelWindow<juce::DocumentWindow> ("Firmware Update Help");
    }

    static juce::Rectangle<int> centredHelpBounds()
    {
        const auto area = juce::Desktop::getInstance().getDisplays().getPrimaryDisplay()->userArea;
        return area.withSizeKeepingCentre (550, 400);
    }

    void chooseOutput (int itemId)
    {
        selector().setSelectedId (itemId);
        pump();
    }

    // The panel built with the options and the image as --file (written to fw.syx).
    void buildWithImage (const Bytes& image, const juce::String& options = {})
    {
        const auto file = temp.write ("fw.syx", image);
        build ((options.isEmpty() ? options : options + " ") + "--file " + file.getFullPathName());
    }

    // The same, shown, with the pedal chosen by hand.
    void buildWithImageAndPedal (const Bytes& image, const juce::String& options = {})
    {
        buildWithImage (image, options);
        pump();
        chooseOutput (1);
    }

    // The built-in image under way to the pedal, which takes it at that rate, once the pedal has
    // that many messages; false when it never got them.
    [[nodiscard]] bool sendBuiltInImageUntil (double pedalBytesPerSecond, size_t messages)
    {
        build();
        pump();
        pedal.setBytesPerSecond (pedalBytesPerSecond);
        chooseOutput (1);
        updateButton().triggerClick();
        return pumpUntil ([this, messages] { return pedal.getMessageCount() >= messages; });
    }

    // The update button pressed, and the upload held as it is about to send that message to the
    // pedal (1 for the first); false when it never got there.
    [[nodiscard]] bool pressUpdateAndHoldBefore (int message)
    {
        gate.closeBefore (pedal, message);
        updateButton().triggerClick();
        return pumpUntil ([this] { return gate.isHolding(); });
    }

    bool completed() const { return progressLabel().getText() == "Update progress: Update completed"; }

    // The last upload's outcome, as the upload thread decided it.
    bool outcomeIs (UploadOutcome outcome) const { return panel->getProtocol()->getOutcome() == outcome; }

    // Waits until the output has been sent `bytes` and the upload has ended. The built-in image's
    // 396 messages each wait for the message thread's lock: under ThreadSanitizer on a busy
    // machine that alone has taken 20 s.
    void waitForUpload (VirtualMidiOutput& output, size_t bytes)
    {
        ASSERT_TRUE (pumpUntil (
            [&] {
                return output.getTotalBytes() >= bytes && completed() &&
                       !panel->getProtocol()->isThreadRunning();
            },
            60000));
        pump (100); // the bar picks its value up on a timer
    }

    static bool colourIs (juce::Button& b, juce::Colour colour)
    {
        return b.findColour (juce::TextButton::buttonColourId) == colour &&
               b.findColour (juce::TextButton::buttonOnColourId) == colour;
    }

    VirtualMidiPortProvider ports;
    VirtualMidiOutput& pedal = ports.addOutput ("Virtual Pedal");
    VirtualMidiOutput& synth = ports.addOutput ("Virtual Synth");
    ScopedAlertRecorder alerts;
    TempFolder temp;
    SendGate gate;
    std::unique_ptr<MainWindow> window;
    ContentComp* panel = nullptr;
};
} // namespace

TEST_F (UpdaterPanel, StartsWithTheBuiltInImageAndNoOutputReady)
{
    build();
    pump();

    EXPECT_NE (dynamic_cast<TemplateLookAndFeel*> (&juce::LookAndFeel::getDefaultLookAndFeel()), nullptr);
    EXPECT_TRUE (alerts.alerts().empty());
    EXPECT_FALSE (panel->isAutomaticMode());

    ASSERT_NE (labelStartingWith ("This software"), nullptr);
    EXPECT_EQ (labelStartingWith ("This software")->getText(), builtInInfoText);
    EXPECT_NE (labelStartingWith ("STEP1"), nullptr);
    EXPECT_NE (labelStartingWith ("STEP2"), nullptr);

    auto& update = updateButton();
    EXPECT_FALSE (update.isEnabled());
    EXPECT_TRUE (colourIs (update, lightRed));
    EXPECT_EQ (update.getTooltip(), "click here to update the product");
    EXPECT_EQ (update.getConnectedEdgeFlags(), juce::Button::ConnectedOnLeft);
    EXPECT_EQ (helpButton().getTooltip(), "click here to get help");
    EXPECT_TRUE (helpButton().isEnabled());

    EXPECT_TRUE (midiInterface().isEnabled());
    EXPECT_EQ (selector().getText(), "(Disconnected)");
    EXPECT_EQ (progressLabel().getText(), "Update progress:");
    EXPECT_EQ (barValue(), 0.0);

    ASSERT_NE (helpWindow(), nullptr);
    EXPECT_FALSE (helpWindow()->isVisible());
    EXPECT_EQ (pedal.getOpenCount() + synth.getOpenCount(), 0);

    // The default look-and-feel is handed back with the panel.
    destroy();
    EXPECT_EQ (dynamic_cast<TemplateLookAndFeel*> (&juce::LookAndFeel::getDefaultLookAndFeel()), nullptr);
    EXPECT_EQ (helpWindow(), nullptr);
}

TEST_F (UpdaterPanel, LaysOutItsRowsAndCentresTheHelpWindow)
{
    build();
    const int w = panel->getWidth();

    EXPECT_EQ (labelStartingWith ("This software")->getBounds(), juce::Rectangle<int> (10, 15, w - 20, 50));
    EXPECT_EQ (helpButton().getBounds(), juce::Rectangle<int> (w - 104, 2, 94, 30));
    EXPECT_EQ (labelStartingWith ("STEP1")->getBounds(), juce::Rectangle<int> (10, 70, w - 20, 30));
    EXPECT_EQ (midiInterface().getBounds(), juce::Rectangle<int> (10, 105, w - 20, 50));
    EXPECT_EQ (labelStartingWith ("STEP2")->getBounds(), juce::Rectangle<int> (10, 165, w - 20, 30));
    EXPECT_EQ (updateButton().getBounds(), juce::Rectangle<int> (w - 104, 215, 94, 30));
    EXPECT_EQ (progressBar().getBounds(), juce::Rectangle<int> (10, 215, w - 114, 30));

    // The progress label sits directly above the bar.
    EXPECT_EQ (progressLabel().getBottom(), progressBar().getY());
    EXPECT_EQ (progressLabel().getX(), progressBar().getX());
    EXPECT_EQ (progressLabel().getParentComponent(), panel);

    // Every layout pass puts the help window back in the middle of the screen.
    helpWindow()->setBounds (5, 5, 300, 200);
    panel->setSize (w, 300);
    EXPECT_EQ (helpWindow()->getBounds(), centredHelpBounds());
}

TEST_F (UpdaterPanel, ButtonFollowsTheOutputState)
{
    build();
    pump();

    chooseOutput (1);
    EXPECT_TRUE (pedal.isOpen());
    EXPECT_TRUE (updateButton().isEnabled());
    EXPECT_TRUE (colourIs (updateButton(), lightGreen));
    EXPECT_TRUE (midiInterface().isEnabled());

    chooseOutput (3); // "(Disconnected)"
    EXPECT_FALSE (pedal.isOpen());
    EXPECT_FALSE (updateButton().isEnabled());
    EXPECT_TRUE (colourIs (updateButton(), lightRed));

    // A device that cannot be opened leaves the button red.
    synth.setFailsToOpen (true);
    chooseOutput (2);
    EXPECT_FALSE (updateButton().isEnabled());
    EXPECT_TRUE (colourIs (updateButton(), lightRed));
    EXPECT_TRUE (midiInterface().isEnabled());
}

TEST_F (UpdaterPanel, UpdateSendsTheWholeBuiltInImageAndCanBeRepeated)
{
    const auto image = builtInImageBytes();
    build();
    pump();
    chooseOutput (1);

    // Held in the first send: to an output that takes every message at once the whole upload can
    // end within the pump that handles the click (it did under Wine), and the button is back.
    ASSERT_TRUE (pressUpdateAndHoldBefore (1));
    EXPECT_FALSE (updateButton().isEnabled());
    gate.open();
    waitForUpload (pedal, image.size());

    EXPECT_EQ (pedal.getMessages(), splitSysexMessages (image));
    EXPECT_EQ (pedal.getMessageCount(), 396u);
    EXPECT_EQ (synth.getMessageCount(), 0u);
    EXPECT_EQ (barValue(), 1.0);
    EXPECT_TRUE (updateButton().isEnabled());
    EXPECT_TRUE (colourIs (updateButton(), lightGreen));
    EXPECT_TRUE (midiInterface().isEnabled());
    EXPECT_TRUE (outcomeIs (UploadOutcome::completed));

    // A second press starts again from the first byte.
    pedal.setObserver (nullptr);
    pedal.clearReceived();
    updateButton().triggerClick();
    waitForUpload (pedal, image.size());
    EXPECT_EQ (pedal.getBytes(), image);
    EXPECT_EQ (barValue(), 1.0);
    EXPECT_TRUE (updateButton().isEnabled());
}

// The bar shows 100 % once 99.5 % of the bytes are out: the button and the selector wait for the end.
TEST_F (UpdaterPanel, ButtonAndSelectorStayOffUntilTheLastMessageIsSent)
{
    // 200 messages: the bar reaches 1.0 after the 199th, while the last one is still held.
    const auto image = makeSysexImage (200, 50);
    buildWithImageAndPedal (image);

    ASSERT_TRUE (pressUpdateAndHoldBefore (200));
    ASSERT_TRUE (pumpUntil ([this] { return barValue() == 1.0; }));
    pump (50);

    EXPECT_EQ (progressLabel().getText(), "Update progress: Uploading firmware");
    EXPECT_EQ (pedal.getMessageCount(), 199u);
    EXPECT_TRUE (outcomeIs (UploadOutcome::none));
    EXPECT_FALSE (updateButton().isEnabled());
    EXPECT_FALSE (midiInterface().isEnabled());
    EXPECT_FALSE (selector().isEnabled());

    gate.open();
    waitForUpload (pedal, image.size());
    EXPECT_EQ (pedal.getBytes(), image);
    ASSERT_TRUE (pumpUntil ([this] { return updateButton().isEnabled(); }));
    EXPECT_TRUE (colourIs (updateButton(), lightGreen));
    EXPECT_TRUE (selector().isEnabled());

    // The next press sends the whole image again.
    pedal.setObserver (nullptr);
    pedal.clearReceived();
    updateButton().triggerClick();
    waitForUpload (pedal, image.size());
    EXPECT_EQ (pedal.getBytes(), image);
}

TEST_F (UpdaterPanel, DeviceStaysLockedWhileAnUploadRuns)
{
    const auto image = makeSysexImage (20, 100);
    buildWithImageAndPedal (image);

    ASSERT_TRUE (pressUpdateAndHoldBefore (5));
    pump();
    ASSERT_FALSE (midiInterface().isEnabled());

    // A change message from the interface in the middle of the upload must not free the selector
    // or the button.
    midiInterface().sendChangeMessage();
    pump();
    EXPECT_FALSE (midiInterface().isEnabled());
    EXPECT_FALSE (updateButton().isEnabled());

    gate.open();
    waitForUpload (pedal, image.size());
    EXPECT_TRUE (midiInterface().isEnabled());
    EXPECT_TRUE (updateButton().isEnabled());
    EXPECT_EQ (pedal.getMessageCount(), 20u);
}

TEST_F (UpdaterPanel, UpdateWithoutAReadyOutputWarnsAndSendsNothing)
{
    build();
    pump();

    panel->buttonClicked (&updateButton());
    pump (50);

    ASSERT_EQ (alerts.alerts().size(), 1u);
    EXPECT_EQ (alerts.alerts()[0].icon, juce::MessageBoxIconType::WarningIcon);
    EXPECT_EQ (alerts.alerts()[0].title, "");
    EXPECT_EQ (alerts.alerts()[0].message, "Please select an output device:");
    EXPECT_EQ (alerts.alerts()[0].buttonText, "ok");

    EXPECT_FALSE (panel->getProtocol()->isThreadRunning());
    EXPECT_EQ (progressLabel().getText(), "Update progress:");
    EXPECT_FALSE (updateButton().isEnabled());
    EXPECT_EQ (pedal.getMessageCount() + synth.getMessageCount(), 0u);
}

TEST_F (UpdaterPanel, LoadedFileIsNamedInTheInfoTextAndUploaded)
{
    const auto image = makeSysexImage (3, 30);
    const auto file = temp.write ("dir with blank/fw.syx", image);
    build ("--file " + file.getFullPathName());
    pump();

    EXPECT_TRUE (alerts.alerts().empty());
    EXPECT_EQ (labelStartingWith ("This software")->getText(),
               "This software updater will update your fw firmware from the loaded sysex file");
    EXPECT_EQ (panel->getFirmwareImage()->getProductName(), "fw");

    chooseOutput (2);
    updateButton().triggerClick();
    waitForUpload (synth, image.size());
    EXPECT_EQ (synth.getBytes(), image);
    EXPECT_EQ (synth.getMessageCount(), 3u);
    EXPECT_EQ (pedal.getMessageCount(), 0u);
    EXPECT_EQ (barValue(), 1.0);
}

TEST_F (UpdaterPanel, MissingFileKeepsTheBuiltInImage)
{
    const auto missing = temp.getFile ("missing.syx").getFullPathName();
    build ("--file " + missing);

    ASSERT_EQ (alerts.alerts().size(), 1u);
    EXPECT_EQ (alerts.alerts()[0].icon, juce::MessageBoxIconType::NoIcon);
    EXPECT_EQ (alerts.alerts()[0].title, "File " + missing + " not found");
    EXPECT_EQ (alerts.alerts()[0].message, missingFileMessage);
    EXPECT_EQ (alerts.alerts()[0].buttonText, "ok");
    EXPECT_EQ (labelStartingWith ("This software")->getText(), builtInInfoText);
    EXPECT_EQ (panel->getFirmwareImage()->getSize(), 236024u);
}

// Any file that yields no image is named with what is wrong, and the built-in image is offered in
// its place: the title and the info line say which image the update button would send.
TEST_F (UpdaterPanel, FileWithoutAnImageIsReportedByNameAndTheBuiltInImageOffered)
{
    const auto empty = temp.write ("empty.syx", {});
    const auto big = temp.write ("big.syx", { 0xf0, 0xf7 });
    ASSERT_EQ (truncate (big.getFullPathName().toRawUTF8(), off_t (FileFirmwareImage::maxFileSize + 1)), 0);

    const struct
    {
        juce::File file;
        juce::String titleEnd, problem;
    } cases[] = {
        { empty, " is empty", "is empty" },
        { big, " is too large", "is too large to be a firmware image" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.file.getFileName());
        const auto before = alerts.alerts().size();
        build ("--file " + c.file.getFullPathName());

        ASSERT_EQ (alerts.alerts().size(), before + 1);
        const auto& alert = alerts.alerts().back();
        EXPECT_EQ (alert.title, "File " + c.file.getFullPathName() + c.titleEnd);
        EXPECT_EQ (alert.message, "A firmware file was specified, but it " + c.problem +
                                      ".\n The application will use the build-in firmware version." +
                                      fileNotLoadedAdvice);
        EXPECT_EQ (alert.buttonText, "ok");
        EXPECT_EQ (labelStartingWith ("This software")->getText(), builtInInfoText);
        EXPECT_EQ (window->getName(), "Halvane Chorus version 1.0.03 - R1806");
        EXPECT_EQ (panel->getFirmwareImage()->getSize(), 236024u);
        destroy();
    }
}

TEST_F (UpdaterPanel, AutomaticModeWithAnOutputBeyondTheListWarnsAndStartsNothing)
{
    build ("--autoupdate --outputid 3");
    pump (50);

    EXPECT_TRUE (panel->isAutomaticMode());
    ASSERT_EQ (alerts.alerts().size(), 1u);
    EXPECT_EQ (alerts.alerts()[0].message, "Please select an output device:");
    EXPECT_FALSE (panel->getProtocol()->isThreadRunning());
    EXPECT_FALSE (pedal.isOpen());
    EXPECT_FALSE (synth.isOpen());
    EXPECT_FALSE (updateButton().isEnabled());
    EXPECT_EQ (progressLabel().getText(), "Update progress:");
    EXPECT_EQ (panel->getExitStatus(), ExitStatus::noSuchOutput);
}

TEST_F (UpdaterPanel, AutomaticModeStartsWhileThePanelIsBuilt)
{
    const auto image = makeSysexImage (30, 40);
    buildWithImage (image, "--autoupdate --outputid 2");

    // Before the message loop has run at all.
    EXPECT_TRUE (panel->getProtocol()->isThreadRunning());
    EXPECT_TRUE (synth.isOpen());
    EXPECT_FALSE (updateButton().isEnabled());

    waitForUpload (synth, image.size());
    EXPECT_TRUE (alerts.alerts().empty());
    EXPECT_EQ (synth.getBytes(), image);
    EXPECT_EQ (pedal.getMessageCount(), 0u);
    EXPECT_EQ (selector().getSelectedId(), 2);
    EXPECT_EQ (panel->getExitStatus(), ExitStatus::completed);
    // The device was opened once: the selector's own notification did not reopen it mid-upload.
    EXPECT_EQ (synth.getOpenCount(), 1);
}

TEST_F (UpdaterPanel, AutomaticModeChoosesTheOutputByName)
{
    const auto image = makeSysexImage (3, 30);
    const auto file = temp.write ("fw.syx", image);

    // By name, in any letter case, and ahead of a number that names the other output.
    build ("--autoupdate --output virtual synth --outputid 1 --file " + file.getFullPathName());
    waitForUpload (synth, image.size());
    EXPECT_EQ (synth.getBytes(), image);
    EXPECT_EQ (pedal.getMessageCount(), 0u);
    EXPECT_EQ (panel->getExitStatus(), ExitStatus::completed);
    destroy();

    // "Virtual" fits both: none is chosen, and the user is told which there are.
    build ("--autoupdate --output Virtual --file " + file.getFullPathName());
    pump (50);
    ASSERT_EQ (alerts.alerts().size(), 1u);
    EXPECT_EQ (alerts.alerts()[0].message, "Please select an output device:");
    EXPECT_EQ (panel->getExitStatus(), ExitStatus::noSuchOutput);
    EXPECT_EQ (
        panel->describeExitStatus(),
        "\"Virtual\" fits several MIDI outputs: \"Virtual Pedal\", \"Virtual Synth\"; nothing was sent");
    EXPECT_FALSE (pedal.isOpen() || synth.isOpen());
    EXPECT_EQ (pedal.getMessageCount(), 0u);
}

TEST_F (UpdaterPanel, DamagedImageIsReportedAndNothingIsSent)
{
    auto image = makeSysexImage (3, 30);
    image.push_back (0x42); // a stray byte after the last message
    buildWithImage (image, "--autoupdate --outputid 1");

    ASSERT_TRUE (
        pumpUntil ([this] { return progressLabel().getText().endsWith ("the firmware image is damaged"); }));
    EXPECT_EQ (progressLabel().getText(), "Update progress: Upload stopped: the firmware image is damaged");
    ASSERT_TRUE (pumpUntil ([this] { return !panel->getProtocol()->isThreadRunning(); }));
    pump();
    EXPECT_EQ (pedal.getMessageCount(), 0u);
    EXPECT_TRUE (midiInterface().isEnabled());
    EXPECT_EQ (panel->getExitStatus(), ExitStatus::imageUnusable);
    EXPECT_TRUE (alerts.alerts().empty()); // unattended: the advice goes to stderr
    // The output is still open: the button is usable again without choosing it anew.
    EXPECT_TRUE (updateButton().isEnabled());
    EXPECT_TRUE (colourIs (updateButton(), lightGreen));
}

// An unattended update of a file that yields no image must not flash the built-in one instead.
TEST_F (UpdaterPanel, AutomaticModeWithAnUnusableFileStartsNothing)
{
    temp.getFile ("folder.syx").createDirectory();
    temp.getFile ("empty.syx").create();
    const struct
    {
        const char* name;
        const char* problem; // what is not a file is reported as not found
    } cases[] = { { "missing.syx", "could not be found" },
                  { "empty.syx", "is empty" },
                  { "folder.syx", "could not be found" } };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        const auto alertsBefore = alerts.alerts().size();
        build ("--autoupdate --outputid 1 --file " + temp.getFile (c.name).getFullPathName());
        pump (50);

        // The box does not offer the built-in image: an unattended update never sends it instead.
        ASSERT_EQ (alerts.alerts().size() - alertsBefore, 1u);
        EXPECT_EQ (alerts.alerts().back().message, juce::String ("A firmware file was specified, but it ") +
                                                       c.problem + ".\n Nothing will be sent.");
        EXPECT_EQ (progressLabel().getText(),
                   juce::String ("Update progress: ") + ContentComp::fileNotLoadedText);
        EXPECT_FALSE (panel->getProtocol()->isThreadRunning());
        EXPECT_EQ (pedal.getMessageCount(), 0u);
        EXPECT_EQ (panel->getExitStatus(), ExitStatus::imageUnusable);
        EXPECT_TRUE (panel->describeExitStatus().endsWith (juce::String (c.name) + " " + c.problem +
                                                           "; nothing was sent"));
        // The output is chosen; the user may still send the image the window names by hand.
        EXPECT_EQ (selector().getSelectedId(), 1);
        EXPECT_TRUE (updateButton().isEnabled());
        destroy();
    }
}

TEST_F (UpdaterPanel, HelpButtonShowsAndHidesTheHelpWindowCentred)
{
    build();
    pump();
    auto* help = helpWindow();
    ASSERT_NE (help, nullptr);

    helpButton().triggerClick();
    pump();
    EXPECT_TRUE (help->isVisible());
    EXPECT_EQ (help->getBounds(), centredHelpBounds());
    EXPECT_EQ (help->getName(), "Firmware Update Help");

    // Moved by the user, it comes back to the middle with the next click.
    help->setBounds (20, 30, 400, 300);
    helpButton().triggerClick();
    pump();
    EXPECT_FALSE (help->isVisible());
    EXPECT_EQ (help->getBounds(), centredHelpBounds());

    // Its own close button only hides it; Help shows the same window again.
    helpButton().triggerClick();
    pump();
    ASSERT_TRUE (help->isVisible());
    help->getCloseButton()->triggerClick();
    pump();
    EXPECT_FALSE (help->isVisible());
    EXPECT_EQ (helpWindow(), help);
    helpButton().triggerClick();
    pump();
    EXPECT_TRUE (help->isVisible());
}

TEST_F (UpdaterPanel, DestroyedDuringAnUploadStopsTheThreadFirst)
{
    const auto image = builtInImageBytes();
    ASSERT_TRUE (sendBuiltInImageUntil (100000.0, 10)); // the image would take 2.4 s

    const auto started = juce::Time::getMillisecondCounter();
    destroy();
    EXPECT_LT (juce::Time::getMillisecondCounter() - started, 2000u);

    // Whole messages from the start of the image, then nothing more; the port is closed.
    const auto received = pedal.getMessages();
    const auto expected = splitSysexMessages (image);
    ASSERT_LT (received.size(), expected.size());
    EXPECT_TRUE (std::equal (received.begin(), received.end(), expected.begin()));
    EXPECT_EQ (pedal.getNumOpenPorts(), 0);
    juce::Thread::sleep (50);
    EXPECT_EQ (pedal.getMessageCount(), received.size());
}

TEST_F (UpdaterPanel, CloseButtonDuringAnUploadStopsItWithinFiveSeconds)
{
    const auto image = builtInImageBytes();
    ASSERT_TRUE (sendBuiltInImageUntil (50000.0, 5)); // the image would take 4.7 s

    const auto started = juce::Time::getMillisecondCounter();
    window->closeButtonPressed();
    EXPECT_LT (juce::Time::getMillisecondCounter() - started, 5000u);
    EXPECT_FALSE (panel->getProtocol()->isThreadRunning());
    EXPECT_EQ (panel->getExitStatus(), ExitStatus::stopped);

    const auto received = pedal.getMessages();
    const auto expected = splitSysexMessages (image);
    ASSERT_LT (received.size(), expected.size());
    EXPECT_TRUE (std::equal (received.begin(), received.end(), expected.begin()));
    destroy();
    EXPECT_EQ (pedal.getNumOpenPorts(), 0);
}

// The pedal pulled in the middle of an update: never "Update completed"; the panel says so, the
// selector lets go of the device, and the update button waits for an output again.
TEST_F (UpdaterPanel, DeviceUnpluggedDuringAnUpdateIsReportedAndReleased)
{
    const auto image = makeSysexImage (20, 100);
    buildWithImage (image, "--autoupdate --outputid 1");

    pedal.setObserver (
        [this, seen = std::make_shared<int> (0)] (const juce::MidiMessage&)
        {
            if (++*seen == 8)
                pedal.vanish();
        });

    ASSERT_TRUE (pumpUntil ([this] { return outcomeIs (UploadOutcome::deviceLost); }));
    ASSERT_TRUE (pumpUntil ([this] { return selector().getText() == "(Disconnected)"; }));
    pump (50);

    EXPECT_EQ (progressLabel().getText(),
               "Update progress: Upload stopped: the output device was disconnected");
    EXPECT_EQ (pedal.getMessageCount(), 7u);
    EXPECT_EQ (pedal.getDroppedCount(), 1u); // the message the cable was pulled under; nothing after it
    EXPECT_LT (barValue(), 1.0);
    EXPECT_TRUE (midiInterface().isEnabled());
    EXPECT_FALSE (midiInterface().isDeviceReady());
    EXPECT_EQ (pedal.getNumOpenPorts(), 0);
    EXPECT_FALSE (updateButton().isEnabled());
    EXPECT_TRUE (colourIs (updateButton(), lightRed));
    EXPECT_EQ (panel->getExitStatus(), ExitStatus::deviceLost);

    // Unattended, the line on stderr carries the advice: no box waits for a user.
    EXPECT_TRUE (alerts.alerts().empty());
    EXPECT_TRUE (panel->describeNextStep().startsWith ("To repeat the update, start the pedal"));

    // Plugged in again: chosen by itself and ready, but nothing starts without a press.
    pedal.setObserver (nullptr);
    pedal.clearReceived();
    pedal.reappear();
    ASSERT_TRUE (pumpUntil ([this] { return updateButton().isEnabled(); }));
    EXPECT_EQ (selector().getText(), "Virtual Pedal");
    EXPECT_TRUE (colourIs (updateButton(), lightGreen));
    pump (100);
    EXPECT_EQ (pedal.getMessageCount(), 0u);
    updateButton().triggerClick();
    waitForUpload (pedal, image.size());
    EXPECT_EQ (pedal.getBytes(), image);
    EXPECT_EQ (panel->getExitStatus(), ExitStatus::completed);
}

// By hand: a box says what happened and what to do (the status line keeps its short text), and the
// pedal, back under a new identifier after a re-enumeration, is chosen by itself.
TEST_F (UpdaterPanel, PedalLostByHandIsExplainedAndPickedUpAgain)
{
    const auto image = makeSysexImage (20, 100);
    buildWithImageAndPedal (image);
    pedal.setObserver (
        [this, seen = std::make_shared<int> (0)] (const juce::MidiMessage&)
        {
            if (++*seen == 8)
                pedal.vanish();
        });

    updateButton().triggerClick();
    ASSERT_TRUE (pumpUntil ([this] { return !alerts.alerts().empty(); }));
    pump (50);

    ASSERT_EQ (alerts.alerts().size(), 1u);
    const auto& box = alerts.alerts()[0];
    const auto advice = adviceFor (UpdateProblem::deviceLost, true);
    EXPECT_EQ (box.icon, juce::MessageBoxIconType::WarningIcon);
    EXPECT_EQ (box.title, "The connection to the pedal was lost");
    EXPECT_EQ (box.message, advice.paragraph);
    EXPECT_TRUE (box.message.contains ("Part of the firmware had already been sent"));
    EXPECT_TRUE (box.message.contains ("Help, steps 1 to 7, choose the pedal under STEP1 and press update"));
    EXPECT_EQ (box.buttonText, "ok");
    EXPECT_EQ (progressLabel().getText(),
               "Update progress: Upload stopped: the output device was disconnected");
    EXPECT_FALSE (updateButton().isEnabled());

    // Another device arriving is listed, not chosen.
    auto& other = ports.addOutput ("Other Synth");
    pump (3 * MidiInterfaceClass::pollIntervalMs);
    EXPECT_EQ (selector().getText(), "(Disconnected)");
    EXPECT_FALSE (other.isOpen());

    auto& again = ports.addOutput ("Virtual Pedal");
    ASSERT_TRUE (pumpUntil ([this] { return updateButton().isEnabled(); }));
    EXPECT_EQ (selector().getText(), "Virtual Pedal");
    EXPECT_TRUE (again.isOpen());
    EXPECT_TRUE (colourIs (updateButton(), lightGreen));
    pump (100);
    EXPECT_EQ (again.getMessageCount(), 0u);
    EXPECT_EQ (alerts.alerts().size(), 1u);

    updateButton().triggerClick();
    waitForUpload (again, image.size());
    EXPECT_EQ (again.getBytes(), image);
    EXPECT_TRUE (outcomeIs (UploadOutcome::completed));
    EXPECT_EQ (alerts.alerts().size(), 1u); // nothing to advise after a completed update
}

TEST_F (UpdaterPanel, DamagedImageByHandIsExplainedInABox)
{
    auto image = makeSysexImage (3, 30);
    image.pop_back(); // the last message has lost its F7
    buildWithImageAndPedal (image);

    updateButton().triggerClick();
    ASSERT_TRUE (pumpUntil ([this] { return !alerts.alerts().empty(); }));
    EXPECT_EQ (alerts.alerts()[0].title, "The firmware file is damaged");
    EXPECT_EQ (alerts.alerts()[0].message, adviceFor (UpdateProblem::damagedImage, false).paragraph);
    EXPECT_EQ (pedal.getMessageCount(), 0u);
    EXPECT_EQ (progressLabel().getText(), "Update progress: Upload stopped: the firmware image is damaged");
}

// A recording look-and-feel stands in while the bar paints: what it is given is what a user sees.
TEST_F (UpdaterPanel, BarShowsTheTimeLeftOnlyWhileAnUploadRuns)
{
    struct TextRecorder : juce::LookAndFeel_V4
    {
        void drawProgressBar (juce::Graphics&, juce::ProgressBar&, int, int, double,
                              const juce::String& text) override
        {
            shown = text;
        }
        juce::String shown;
    } recorder;

    const auto barText = [&]
    {
        progressBar().setLookAndFeel (&recorder);
        progressBar().createComponentSnapshot (progressBar().getLocalBounds());
        progressBar().setLookAndFeel (nullptr);
        return recorder.shown;
    };

    const auto image = makeSysexImage (20, 100);
    buildWithImageAndPedal (image, "--pause 100");
    EXPECT_EQ (panel->getProtocol()->getPauseAfterEachMessage(), std::chrono::milliseconds (100));
    EXPECT_EQ (barText(), "0%");

    // Held in the 11th message: 1000 bytes (320 ms on the wire) and 10 pauses of 100 ms to go.
    ASSERT_TRUE (pressUpdateAndHoldBefore (11));
    pump (100);
    EXPECT_EQ (barText(), juce::String (juce::CharPointer_UTF8 ("50% \xe2\x80\x93 0:02 left")));

    gate.open();
    waitForUpload (pedal, image.size());
    // The bar paints the value its own timer last took up; under a sanitizer on a busy machine
    // that timer can lag the upload's end by more than the pump in waitForUpload.
    EXPECT_TRUE (pumpUntil ([&] { return barText() == "100%"; })) << barText();
}

TEST_F (UpdaterPanel, ChosenOutputThatLeavesTurnsTheButtonRed)
{
    build();
    pump();
    chooseOutput (2);
    ASSERT_TRUE (colourIs (updateButton(), lightGreen));

    synth.vanish();
    ASSERT_TRUE (pumpUntil ([this] { return selector().getText() == "(Disconnected)"; }));
    pump();

    EXPECT_FALSE (synth.isOpen());
    EXPECT_FALSE (updateButton().isEnabled());
    EXPECT_TRUE (colourIs (updateButton(), lightRed));
    EXPECT_EQ (selector().getNumItems(), 2); // "(Disconnected)" and the pedal
}

// A .syx dropped on the window is loaded as --file would load it; nothing is sent by the drop.
TEST_F (UpdaterPanel, DroppedFirmwareFileIsLoadedAndShown)
{
    const auto image = makeSysexImage (4, 20);
    const auto file = temp.write ("dropped fw.SYX", image);
    build();
    pump();
    chooseOutput (1);

    ASSERT_TRUE (panel->isInterestedInFileDrag ({ file.getFullPathName() }));
    panel->filesDropped ({ file.getFullPathName() }, 10, 10);
    pump();

    EXPECT_TRUE (alerts.alerts().empty());
    EXPECT_EQ (labelStartingWith ("This software")->getText(),
               "This software updater will update your dropped fw firmware from the loaded sysex file");
    EXPECT_EQ (window->getName(), "dropped fw version ");
    EXPECT_EQ (pedal.getMessageCount(), 0u);
    EXPECT_TRUE (updateButton().isEnabled()); // the output chosen before stays ready

    updateButton().triggerClick();
    waitForUpload (pedal, image.size());
    EXPECT_EQ (pedal.getBytes(), image);
}

TEST_F (UpdaterPanel, DropThatWillNotDoIsRefusedAndChangesNothing)
{
    const auto good = temp.write ("good.syx", makeSysexImage (2, 10));
    const auto text = temp.write ("notes.txt", makeSysexImage (2, 10));
    auto damagedBytes = makeSysexImage (2, 10);
    damagedBytes.pop_back(); // the last F7 is missing
    const auto damaged = temp.write ("damaged.syx", damagedBytes);
    const auto empty = temp.write ("empty.syx", {});
    build();
    pump();

    const struct
    {
        juce::StringArray files;
        juce::String title, message;
    } cases[] = {
        { { good.getFullPathName(), good.getFullPathName() },
          "",
          "Please drop a single firmware file (.syx)." },
        { { text.getFullPathName() }, "", "Please drop a single firmware file (.syx)." },
        { { damaged.getFullPathName() },
          "File " + damaged.getFullPathName() + " is damaged",
          "A firmware file was dropped, but it is not a run of complete SysEx messages.\n The firmware shown "
          "in the "
          "window stays selected." },
        { { empty.getFullPathName() },
          "File " + empty.getFullPathName() + " is empty",
          "A firmware file was dropped, but it is empty.\n The firmware shown in the window stays "
          "selected." },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.files.joinIntoString (" "));
        const auto before = alerts.alerts().size();
        panel->filesDropped (c.files, 10, 10);

        ASSERT_EQ (alerts.alerts().size(), before + 1);
        EXPECT_EQ (alerts.alerts().back().title, c.title);
        EXPECT_EQ (alerts.alerts().back().message, c.message);
        EXPECT_EQ (labelStartingWith ("This software")->getText(), builtInInfoText);
        EXPECT_EQ (window->getName(), "Halvane Chorus version 1.0.03 - R1806");
        EXPECT_EQ (panel->getFirmwareImage()->getSize(), 236024u);
    }
}

TEST_F (UpdaterPanel, DropDuringAnUploadIsIgnored)
{
    const auto other = temp.write ("other.syx", makeSysexImage (2, 10));
    build();
    pump();
    chooseOutput (1);
    ASSERT_TRUE (pressUpdateAndHoldBefore (3));

    EXPECT_FALSE (panel->isInterestedInFileDrag ({ other.getFullPathName() }));
    const auto* imageBefore = panel->getFirmwareImage();
    panel->filesDropped ({ other.getFullPathName() }, 10, 10);
    EXPECT_EQ (panel->getFirmwareImage(), imageBefore);
    EXPECT_TRUE (alerts.alerts().empty());

    gate.open();
    waitForUpload (pedal, 236024u);
    EXPECT_EQ (pedal.getBytes(), builtInImageBytes());
}
