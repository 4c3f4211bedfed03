#include "app/MainWindow.h"

#include "app/ContentComp.h"
#include "app/WindowIconData.h"
#include "firmware/FirmwareImage.h"
#include "lookandfeel/WindowColours.h"

#include <memory>
#include <utility>

namespace
{
// "<product> version <version>[ - R<revision>]".
juce::String buildTitle (const FirmwareImage& image)
{
    return image.getProductName() + " version " + image.getVersionText();
}
} // namespace

MainWindow::MainWindow (const CommandLineOptions& options, MidiPortProvider& ports)
    : juce::DocumentWindow ({}, WindowColours::background,
                            juce::DocumentWindow::minimiseButton | juce::DocumentWindow::maximiseButton |
                                juce::DocumentWindow::closeButton,
                            true)
{
    WindowColours::apply (*this, WindowColours::background, WindowColours::titleBar);

    // The panel applies the options and may replace its firmware image while it is built, so the
    // title below sees the final image.
    contentComp = new ContentComp (options, ports);
    setResizable (true, false);
    setContentOwned (contentComp, false);

    setName (buildTitle (*contentComp->getFirmwareImage()));
    contentComp->onFirmwareImageChanged = [this]
    {
        setName (buildTitle (*contentComp->getFirmwareImage()));
    };
    setVisible (true);

    // For the task bar and window switchers; the house title bar draws no icon.
    if (auto* peer = getPeer())
        peer->setIcon (juce::ImageFileFormat::loadFrom (WindowIconData::bytes, WindowIconData::size));
}

MainWindow::~MainWindow()
{
    // The panel goes first, taken out of the window while the window is still whole: it hands
    // the default look-and-feel back, which every window on the desktop, this one included, is
    // told of, and the window must not lay out a panel that is half destroyed.
    std::unique_ptr<ContentComp> panel (std::exchange (contentComp, nullptr));
    setContentNonOwned (panel.get(), false);
    clearContentComponent();
    panel = nullptr;
}

void MainWindow::closeButtonPressed()
{
    // The thread ends between two messages. The close goes on after the time-out even if the send
    // still runs.
    if (contentComp != nullptr)
        contentComp->stopUpload (uploadStopTimeoutMs);

    if (auto* app = juce::JUCEApplication::getInstance())
        app->systemRequestedQuit();
}
