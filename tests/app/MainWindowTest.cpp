// The application and its main window in this process (the suite runs under Xvfb).
#include "app/MainWindow.h"
#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/ContentComp.h"
#include "lookandfeel/WindowColours.h"
#include "support/NeedsDisplay.h"
#include "support/ScopedAlertRecorder.h"
#include "support/TempFolder.h"
#include "support/TopLevelWindows.h"
#include "support/VirtualMidiPortProvider.h"

#include <gtest/gtest.h>

namespace
{
// An Application object outside JUCE's own start: initialise and shutdown are called by the test.
class ApplicationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_DISPLAY();

        // JUCE only accepts an application object in a process marked as a standalone app.
        juce::JUCEApplicationBase::createInstance = []() -> juce::JUCEApplicationBase*
        {
            return nullptr;
        };
    }

    void start (const juce::String& commandLine)
    {
        app = std::make_unique<Application> (parseCommandLine (commandLine.trim()),
                                             std::make_unique<VirtualMidiPortProvider>());
        app->initialise ("ignored: the application uses the options it was created with");
    }

    void TearDown() override
    {
        if (app != nullptr)
        {
            app->shutdown();
            EXPECT_EQ (findMainWindow(), nullptr);
            app = nullptr;
        }
    }

    std::unique_ptr<Application> app;
};
} // namespace

TEST_F (ApplicationTest, IdentifiesItselfAsASingleInstance)
{
    start ("");
    EXPECT_EQ (app->getApplicationName(), "Quillon by brantwell");
    EXPECT_EQ (app->getApplicationVersion(), "1.0");
    EXPECT_FALSE (app->moreThanOneInstanceAllowed());
}

TEST_F (ApplicationTest, ShowsOneFixedSizeCentredWindowTitledFromTheBuiltInImage)
{
    start ("");
    auto* window = findMainWindow();
    ASSERT_NE (window, nullptr);
    int visibleWindows = 0;
    for (int i = 0; i < juce::TopLevelWindow::getNumTopLevelWindows(); ++i)
        visibleWindows += juce::TopLevelWindow::getTopLevelWindow (i)->isVisible() ? 1 : 0;
    EXPECT_EQ (visibleWindows, 1); // the help window exists, hidden

    EXPECT_EQ (window->getName(), "Halvane Chorus version 1.0.03 - R1806");
    EXPECT_TRUE (window->isVisible());
    EXPECT_TRUE (window->isOnDesktop());
    EXPECT_EQ (window->getWidth(), 650);
    EXPECT_EQ (window->getHeight(), 400);

    const auto area = juce::Desktop::getInstance().getDisplays().getPrimaryDisplay()->userArea;
    EXPECT_LE (std::abs (window->getBounds().getCentreX() - area.getCentreX()), 1);
    EXPECT_LE (std::abs (window->getBounds().getCentreY() - area.getCentreY()), 1);

    // Resizable by its border, but the limits keep the size.
    EXPECT_TRUE (window->isResizable());
    window->setBoundsConstrained (window->getBounds().expanded (100));
    EXPECT_EQ (window->getWidth(), 650);
    EXPECT_EQ (window->getHeight(), 400);
    window->setBoundsConstrained (window->getBounds().withSize (300, 200));
    EXPECT_EQ (window->getWidth(), 650);
    EXPECT_EQ (window->getHeight(), 400);

    EXPECT_EQ (window->findColour (juce::ResizableWindow::backgroundColourId), juce::Colour (0xffeff2f3));
    EXPECT_EQ (window->findColour (WindowColours::titleBarColourId), juce::Colour (0xff3273a1));
    EXPECT_NE (window->getMinimiseButton(), nullptr);
    EXPECT_NE (window->getMaximiseButton(), nullptr);
    EXPECT_NE (window->getCloseButton(), nullptr);

    EXPECT_NE (dynamic_cast<ContentComp*> (window->getContentComponent()), nullptr);
}

TEST_F (ApplicationTest, TitleComesFromTheLoadedFile)
{
    const TempFolder temp;
    const auto fw = temp.write ("dir with blank/fw.syx", { 0xf0, 0x01, 0xf7 });
    start ("  --file " + fw.getFullPathName() + "  ");

    auto* window = findMainWindow();
    ASSERT_NE (window, nullptr);
    EXPECT_EQ (window->getName(), "fw version ");
}

TEST_F (ApplicationTest, MissingFileIsReportedAndTheBuiltInTitleStays)
{
    ScopedAlertRecorder alerts;
    start ("--file /nonexistent/fw.syx");

    ASSERT_EQ (alerts.alerts().size(), 1u);
    EXPECT_EQ (alerts.alerts()[0].title, "File /nonexistent/fw.syx not found");
    ASSERT_NE (findMainWindow(), nullptr);
    EXPECT_EQ (findMainWindow()->getName(), "Halvane Chorus version 1.0.03 - R1806");
}

TEST_F (ApplicationTest, CloseButtonAsksTheApplicationToQuit)
{
    start ("");
    auto* window = findMainWindow();
    ASSERT_NE (window, nullptr);
    ASSERT_FALSE (juce::MessageManager::getInstance()->hasStopMessageBeenSent());

    window->closeButtonPressed();
    EXPECT_TRUE (juce::MessageManager::getInstance()->hasStopMessageBeenSent());
}
