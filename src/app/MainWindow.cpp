#include "app/MainWindow.h"

#include "app/ContentComp.h"
#include "lookandfeel/WindowColours.h"

namespace
{
const juce::Colour backgroundColour (0xffeff2f3);
const juce::Colour titleBarColour (0xff3273a1);

// "<product> version <version>", then " - R<revision>" unless the revision is 0.
juce::String buildTitle (const FirmwareImage& image)
{
    auto title = image.getProductName() + " version " + image.getFirmwareVersion();

    if (image.getRevision() != 0)
        title << " - R" << image.getRevision();

    return title;
}
} // namespace

MainWindow::MainWindow (const juce::String& commandLine)
    : juce::DocumentWindow ({}, backgroundColour,
                            juce::DocumentWindow::minimiseButton | juce::DocumentWindow::maximiseButton |
                                juce::DocumentWindow::closeButton,
                            true)
{
    WindowColours::apply (*this, backgroundColour, titleBarColour);

    // The panel reads the command line and may replace its firmware image while it is built, so
    // the title below sees the final image.
    contentComp = new ContentComp (commandLine);
    setResizable (true, false);
    setContentOwned (contentComp, false);

    setName (buildTitle (*contentComp->getFirmwareImage()));
    setVisible (true);
}

MainWindow::~MainWindow() = default;

void MainWindow::closeButtonPressed()
{
    // Stopping a running upload (at most 5000 ms) comes first once the panel has an upload thread.
    if (auto* app = juce::JUCEApplication::getInstance())
        app->systemRequestedQuit();
}
