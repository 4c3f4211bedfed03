#include "lookandfeel/GlassWindowButton.h"
#include "lookandfeel/TemplateLookAndFeel.h"
#include "lookandfeel/WindowColours.h"
#include "lookandfeel/WindowSizes.h"

#include "PixelCanvas.h"
#include "support/NeedsDisplay.h"

#include <gtest/gtest.h>

namespace
{
const juce::Colour windowBackground = WindowColours::background;
const juce::Colour titleBarColour = WindowColours::titleBar;
const juce::Colour activeText (0xff474849);   // 71, 72, 73
const juce::Colour inactiveText (0xff8e9091); // 142, 144, 145

PixelCanvas paintTitleBar (TemplateLookAndFeel& lf, juce::DocumentWindow& window, int spaceX, int spaceW)
{
    PixelCanvas canvas (642, 26);
    lf.drawDocumentWindowTitleBar (window, *canvas.g, 642, 26, spaceX, spaceW, nullptr, false);
    return canvas;
}

juce::Rectangle<int> textBounds (const PixelCanvas& canvas, juce::Colour textColour)
{
    juce::Rectangle<int> bounds;
    for (int y = 0; y < canvas.image.getHeight(); ++y)
        for (int x = 0; x < canvas.image.getWidth(); ++x)
            if (canvas.at (x, y) == textColour)
                bounds = bounds.isEmpty() ? juce::Rectangle<int> (x, y, 1, 1)
                                          : bounds.getUnion (juce::Rectangle<int> (x, y, 1, 1));
    return bounds;
}
} // namespace

TEST (TitleBar, ButtonPositions)
{
    TemplateLookAndFeel lf;
    juce::DocumentWindow window ("w", windowBackground, juce::DocumentWindow::allButtons, false);

    struct Case
    {
        const char* name;
        bool onLeft, minimise, maximise, close;
        int minimiseX, maximiseX, closeX;
    };

    // A 642 x 26 title bar at (4, 4): buttons 23 x 26. On the right: close, a gap of 5, maximise,
    // minimise; on the left, without gaps: close, minimise, maximise. Missing buttons leave no space.
    const Case cases[] = {
        { "all, on the right", false, true, true, true, 567, 590, 618 },
        { "all, on the left", true, true, true, true, 31, 54, 8 },
        { "no maximise, right", false, true, false, true, 590, -1, 618 },
        { "no maximise, left", true, true, false, true, 31, -1, 8 },
        { "no minimise, left", true, false, true, true, -1, 31, 8 },
        { "close only, right", false, false, false, true, -1, -1, 618 },
    };

    for (const auto& c : cases)
    {
        std::unique_ptr<juce::Button> minimise (c.minimise ? lf.createDocumentWindowButton (1) : nullptr);
        std::unique_ptr<juce::Button> maximise (c.maximise ? lf.createDocumentWindowButton (2) : nullptr);
        std::unique_ptr<juce::Button> close (c.close ? lf.createDocumentWindowButton (4) : nullptr);

        lf.positionDocumentWindowButtons (window, 4, 4, 642, 26, minimise.get(), maximise.get(), close.get(),
                                          c.onLeft);
        SCOPED_TRACE (c.name);

        const std::pair<juce::Button*, int> expected[] = { { minimise.get(), c.minimiseX },
                                                           { maximise.get(), c.maximiseX },
                                                           { close.get(), c.closeX } };
        for (const auto& [button, x] : expected)
        {
            if (button != nullptr)
            {
                EXPECT_EQ (button->getBounds(), juce::Rectangle<int> (x, 4, 23, 26)) << button->getName();
            }
        }
    }
}

TEST (TitleBar, WindowButtonsOfEachKind)
{
    TemplateLookAndFeel lf;

    const std::pair<int, const char*> kinds[] = { { juce::DocumentWindow::minimiseButton, "minimise" },
                                                  { juce::DocumentWindow::maximiseButton, "maximise" },
                                                  { juce::DocumentWindow::closeButton, "close" } };
    for (const auto& [type, name] : kinds)
    {
        std::unique_ptr<juce::Button> button (lf.createDocumentWindowButton (type));
        ASSERT_NE (dynamic_cast<GlassWindowButton*> (button.get()), nullptr) << name;
        EXPECT_EQ (button->getName(), name);
        EXPECT_TRUE (button->getTooltip().isEmpty());
    }

    for (const int other : { 0, 3, 5, 8 })
        EXPECT_EQ (std::unique_ptr<juce::Button> (lf.createDocumentWindowButton (other)), nullptr) << other;
}

// The grey disc around the sphere shows the button's state through its alpha.
TEST (TitleBar, WindowButtonAlphaFollowsItsState)
{
    TemplateLookAndFeel lf;

    struct Case
    {
        const char* name;
        bool enabled, over, down;
        int alpha;
    };

    const Case cases[] = {
        { "idle", true, false, false, 140 },
        { "mouse over", true, true, false, 204 },
        { "pressed", true, true, true, 255 },
        { "disabled", false, false, false, 70 },
        { "disabled, mouse over", false, true, false, 102 },
    };

    for (const auto& c : cases)
    {
        std::unique_ptr<juce::Button> button (
            lf.createDocumentWindowButton (juce::DocumentWindow::closeButton));
        button->setSize (23, 26);
        button->setEnabled (c.enabled);

        PixelCanvas canvas (23, 26);
        static_cast<GlassWindowButton&> (*button).paintButton (*canvas.g, c.over, c.down);

        // (11, 3) lies on the disc (centred vertically, 0.9 of the width), outside the sphere.
        SCOPED_TRACE (c.name);
        EXPECT_EQ (canvas.at (11, 3).getAlpha(), c.alpha);
        EXPECT_NEAR (canvas.at (11, 3).getRed(), 156, 3) << "grey 153 at the top, lighter downwards";
        EXPECT_EQ (canvas.at (11, 0).getAlpha(), 0) << "above the disc";
    }
}

TEST (TitleBar, MaximiseSymbolSwitchesWhileToggled)
{
    TemplateLookAndFeel lf;

    const auto centreOf = [&] (int type, bool toggled)
    {
        std::unique_ptr<juce::Button> button (lf.createDocumentWindowButton (type));
        button->setSize (23, 26);
        button->setToggleState (toggled, juce::dontSendNotification);
        PixelCanvas canvas (23, 26);
        static_cast<GlassWindowButton&> (*button).paintButton (*canvas.g, false, false);
        return brightness (canvas.at (11, 12));
    };

    // The plus sign crosses the middle; the two frames of the full-screen symbol leave it clear.
    EXPECT_LT (centreOf (juce::DocumentWindow::maximiseButton, false) + 60,
               centreOf (juce::DocumentWindow::maximiseButton, true));
    EXPECT_EQ (centreOf (juce::DocumentWindow::closeButton, false),
               centreOf (juce::DocumentWindow::closeButton, true));
    EXPECT_EQ (centreOf (juce::DocumentWindow::minimiseButton, false),
               centreOf (juce::DocumentWindow::minimiseButton, true));
}

TEST (TitleBar, GradientAndInactiveTitle)
{
    InstalledLookAndFeel installed;
    juce::DocumentWindow window ("Quillon 1.0", windowBackground, juce::DocumentWindow::allButtons, false);
    WindowColours::apply (window, windowBackground, titleBarColour);
    ASSERT_FALSE (window.isActiveWindow());

    auto canvas = paintTitleBar (installed.lf, window, 6, 630);

    // From the window's own title-bar colour at the top to its background at the bottom.
    EXPECT_TRUE (coloursNear (canvas.at (0, 0), titleBarColour, 4));
    EXPECT_TRUE (coloursNear (canvas.at (641, 25), windowBackground, 12));

    EXPECT_GT (canvas.count (inactiveText), 20) << "title in 142, 144, 145";
    EXPECT_EQ (canvas.count (activeText), 0);

    // Bold, 0.65 of the bar's height, centred on the whole bar.
    const auto text = textBounds (canvas, inactiveText);
    EXPECT_NEAR (text.getCentreX(), 321, 3) << text.toString();
    EXPECT_NEAR (text.getHeight(), 13, 2) << text.toString();
}

TEST (TitleBar, LongTitleStaysInsideItsSpan)
{
    InstalledLookAndFeel installed;
    juce::DocumentWindow window ("This title is far too long for the little space the buttons leave it",
                                 windowBackground, juce::DocumentWindow::allButtons, false);
    WindowColours::apply (window, windowBackground, titleBarColour);

    auto canvas = paintTitleBar (installed.lf, window, 100, 200);
    const auto text = textBounds (canvas, inactiveText);

    EXPECT_GE (text.getX(), 100) << text.toString();
    EXPECT_LE (text.getRight(), 300) << text.toString();
    EXPECT_GT (text.getRight(), 280) << "fills the span, ending in an ellipsis";
}

// The window as the system builds it: the framework creates the buttons through the look-and-feel
// and lays them out in its title bar.
TEST (TitleBar, DocumentWindowUsesTheLook)
{
    InstalledLookAndFeel installed;
    juce::DocumentWindow window ("Quillon", windowBackground, juce::DocumentWindow::allButtons, false);
    WindowColours::apply (window, windowBackground, titleBarColour);
    window.setResizable (true, false);
    window.setSize (WindowSizes::mainWidth, WindowSizes::mainHeight);

    std::map<juce::String, juce::Rectangle<int>> buttons;
    for (auto* child : window.getChildren())
        if (auto* button = dynamic_cast<GlassWindowButton*> (child))
            buttons[button->getName()] = button->getBounds();

    EXPECT_EQ (buttons["close"], juce::Rectangle<int> (618, 4, 23, 26));
    EXPECT_EQ (buttons["maximise"], juce::Rectangle<int> (590, 4, 23, 26));
    EXPECT_EQ (buttons["minimise"], juce::Rectangle<int> (567, 4, 23, 26));

    const auto snapshot = window.createComponentSnapshot ({ 0, 0, WindowSizes::mainWidth, 40 });
    // The title bar starts inside the 4-pixel border, with the window's own colours.
    EXPECT_TRUE (coloursNear (snapshot.getPixelAt (10, 4), titleBarColour, 4));
    EXPECT_TRUE (coloursNear (snapshot.getPixelAt (10, 29), windowBackground, 12));
}

// Active windows need a display (the desktop decides which window is active): run where one exists.
TEST (TitleBar, ActiveWindowTitleIsDarker)
{
    SKIP_WITHOUT_DISPLAY();

    InstalledLookAndFeel installed;
    juce::DocumentWindow window ("Quillon", windowBackground, juce::DocumentWindow::allButtons, true);
    WindowColours::apply (window, windowBackground, titleBarColour);
    window.setBounds (20, 20, WindowSizes::mainWidth, WindowSizes::mainHeight);
    window.setVisible (true);
    window.toFront (true);

    for (int i = 0; i < 100 && !window.isActiveWindow(); ++i)
        juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
    ASSERT_TRUE (window.isActiveWindow());

    auto canvas = paintTitleBar (installed.lf, window, 6, 630);
    EXPECT_GT (canvas.count (activeText), 20) << "title in 71, 72, 73";
    EXPECT_EQ (canvas.count (inactiveText), 0);
}
