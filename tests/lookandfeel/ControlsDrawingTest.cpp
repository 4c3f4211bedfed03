#include "lookandfeel/TemplateLookAndFeel.h"

#include "PixelCanvas.h"
#include "support/NeedsDisplay.h"

#include <gtest/gtest.h>

// The update button's ready (light green) and not-ready (light red) colours, painted the way the
// framework paints a text button. Row 12 of a 30-high button lies on the body's 0.4 stop, where the
// body is the derived base colour itself and the highlight has faded out.
namespace
{
// Below the highlight the capsule body keeps the base colour's red, green and blue while its alpha
// fades (translucent pixels lose a little to premultiplication); it is most opaque around 0.4 of the height
// (row 10 of 26, a gradient step short of the stop).
void expectBodyColour (const PixelCanvas& canvas, juce::Colour expected)
{
    EXPECT_TRUE (coloursNear (canvas.at (60, 14).withAlpha (expected.getAlpha()), expected, 3));
    EXPECT_NEAR (canvas.at (60, 10).getAlpha(), expected.getAlpha(), 8);
}
} // namespace

TEST (ControlsDrawing, TextButtonShowsItsOwnColourAsGlass)
{
    struct Case
    {
        const char* name;
        juce::uint32 buttonColour;
        bool enabled;
        juce::uint32 expectedBody;
    };

    const Case cases[] = {
        // Saturation x0.9 without focus.
        { "ready: light green", 0xff7ebf7e, true, 0xff84bf84 },
        { "not ready: light red", 0xffff7e7e, true, 0xffff8b8b },
        // A disabled button shows its colour at half alpha.
        { "disabled light red", 0xffff7e7e, false, 0x80ff8b8b },
    };

    InstalledLookAndFeel installed;

    for (const auto& c : cases)
    {
        juce::TextButton button;
        button.setColour (juce::TextButton::buttonColourId, juce::Colour (c.buttonColour));
        button.setEnabled (c.enabled);
        button.setBounds (0, 0, 120, 26);

        PixelCanvas canvas (120, 26);
        button.paintEntireComponent (*canvas.g, false);

        SCOPED_TRACE (c.name);
        expectBodyColour (canvas, juce::Colour (c.expectedBody));
        EXPECT_EQ (canvas.at (0, 0).getAlpha(), 0) << "rounded corner";
    }
}

TEST (ControlsDrawing, ButtonBackgroundFollowsStateAndConnectedEdges)
{
    struct Case
    {
        const char* name;
        bool over, down;
        int connectedFlags;
        juce::uint32 expectedBody;
        bool squareTopLeft;
    };

    const Case cases[] = {
        { "idle", false, false, 0, 0xff84bf84, false },
        // Contrasting 0.1 (a light colour gets black) under the mouse, 0.2 pressed.
        { "under the mouse", true, false, 0, 0xff76ab76, false },
        { "pressed", true, true, 0, 0xff699869, false },
        { "joined on the left", false, false, juce::Button::ConnectedOnLeft, 0xff84bf84, true },
    };

    TemplateLookAndFeel lf;

    for (const auto& c : cases)
    {
        juce::TextButton button;
        button.setBounds (0, 0, 120, 26);
        button.setConnectedEdges (c.connectedFlags);

        PixelCanvas canvas (120, 26);
        lf.drawButtonBackground (*canvas.g, button, juce::Colour (0xff7ebf7e), c.over, c.down);

        SCOPED_TRACE (c.name);
        expectBodyColour (canvas, juce::Colour (c.expectedBody));
        EXPECT_EQ (canvas.at (0, 0).getAlpha() > 0, c.squareTopLeft);
    }
}

TEST (ControlsDrawing, TickBoxOrbAndTick)
{
    struct Case
    {
        const char* name;
        bool ticked, enabled, over, down;
        juce::uint32 orbBody; // the orb colour over white, at 0.4 of its diameter
        juce::uint32 tickPixel;
    };

    // Orb colours 0xb2808080 (idle), 0xbb6c6c6c (mouse over), 0xc25d5d5d (pressed), over white.
    const Case cases[] = {
        { "idle", false, true, false, false, 0xffa6a6a6, 0 },
        { "mouse over", false, true, true, false, 0xff939393, 0 },
        { "pressed", false, true, true, true, 0xff838383, 0 },
        { "ticked", true, true, false, false, 0xffa6a6a6, 0xff000000 },
        // From half the control colour's alpha, still reacting to the mouse; grey tick.
        { "disabled, ticked", true, false, false, false, 0xffd2d2d2, 0xff808080 },
        { "disabled, mouse over", false, false, true, false, 0xffbbbbbb, 0 },
    };

    TemplateLookAndFeel lf;
    juce::ToggleButton toggle;

    for (const auto& c : cases)
    {
        PixelCanvas canvas (40, 40);
        lf.drawTickBox (*canvas.g, toggle, 0, 0, 36, 36, c.ticked, c.enabled, c.over, c.down);

        SCOPED_TRACE (c.name);
        // A 25.2 orb at the left edge, vertically centred (top at 5.4).
        EXPECT_TRUE (coloursNear (canvas.at (12, 15), juce::Colour (c.orbBody), 4));
        EXPECT_EQ (canvas.at (30, 18).getAlpha(), 0) << "right of the orb";

        // On the tick's long stroke, which is laid out on the whole area's 9 x 9 grid.
        if (c.ticked)
            EXPECT_EQ (hex (canvas.at (17, 12)), hex (juce::Colour (c.tickPixel)));
        else
            EXPECT_NE (canvas.at (17, 12), juce::Colour (0xff000000));
        EXPECT_EQ (canvas.at (22, 2).getAlpha() > 0, c.ticked) << "the tick reaches above the orb";
    }
}

TEST (ControlsDrawing, ComboBoxBodyOutlineAndArrows)
{
    struct Case
    {
        const char* name;
        bool enabled;
        juce::uint32 arrowPixel;
    };

    const Case cases[] = {
        { "enabled: black arrows at alpha 0.6", true, 0xff666666 },
        { "disabled: no arrows", false, 0xffffffff },
    };

    TemplateLookAndFeel lf;

    for (const auto& c : cases)
    {
        juce::ComboBox box;
        box.setLookAndFeel (&lf);
        box.setBounds (0, 0, 200, 24);
        box.setEnabled (c.enabled);

        PixelCanvas canvas (200, 24);
        // The framework's button area: right of the text label.
        lf.drawComboBox (*canvas.g, 200, 24, false, 171, 0, 29, 24, box);

        SCOPED_TRACE (c.name);
        EXPECT_EQ (hex (canvas.at (0, 12)), hex (juce::Colour (0xffa6a6a6)))
            << "outline 0xb2808080 over white";
        EXPECT_EQ (hex (canvas.at (1, 12)), hex (juce::Colours::white)) << "outline 1 pixel thick";
        EXPECT_EQ (hex (canvas.at (60, 12)), hex (juce::Colours::white)) << "white body";
        // The box's own button colour is transparent: no glass in the button area.
        EXPECT_EQ (hex (canvas.at (175, 3)), hex (juce::Colours::white));
        EXPECT_TRUE (coloursNear (canvas.at (185, 9), juce::Colour (c.arrowPixel), 2)) << "up arrow";
        EXPECT_TRUE (coloursNear (canvas.at (185, 15), juce::Colour (c.arrowPixel), 2)) << "down arrow";
        EXPECT_EQ (hex (canvas.at (185, 12)), hex (juce::Colours::white)) << "gap between the arrows";

        box.setLookAndFeel (nullptr);
    }
}

// The combo box's drop-down list and popup menus: white with a light-blue line every third row from
// the top, in a 0x99000000 frame.
TEST (ControlsDrawing, ListAndPopupMenuStripes)
{
    TemplateLookAndFeel lf;
    juce::ComboBox box;

    using DrawBackground = std::function<void (juce::Graphics&, int, int)>;
    const std::pair<const char*, DrawBackground> painters[] = {
        { "combo list",
          [&] (juce::Graphics& g, int w, int h)
          {
              lf.drawComboBoxListBackground (g, w, h);
          } },
        { "popup menu",
          [&] (juce::Graphics& g, int w, int h)
          {
              lf.drawPopupMenuBackground (g, w, h);
          } },
        { "popup menu with the combo box as target",
          [&] (juce::Graphics& g, int w, int h)
          {
              lf.drawPopupMenuBackgroundWithOptions (g, w, h,
                                                     juce::PopupMenu::Options().withTargetComponent (&box));
          } },
        { "plain popup menu through the options",
          [&] (juce::Graphics& g, int w, int h)
          {
              lf.drawPopupMenuBackgroundWithOptions (g, w, h, juce::PopupMenu::Options());
          } },
    };

    const juce::Colour stripe (0xfff0f8fa);
    const juce::Colour frameOverStripe (0xff5f6263);
    const juce::Colour frameOverWhite (0xff656565);

    struct Case
    {
        int height;
        std::vector<std::pair<int, juce::Colour>> rowsAtX5;
    };

    const Case cases[] = {
        { 7,
          { { 0, frameOverStripe },
            { 1, juce::Colours::white },
            { 2, juce::Colours::white },
            { 3, stripe },
            { 4, juce::Colours::white },
            { 6, frameOverStripe } } },
        { 10, { { 3, stripe }, { 5, juce::Colours::white }, { 6, stripe }, { 8, juce::Colours::white } } },
        { 2, { { 0, frameOverStripe }, { 1, frameOverWhite } } },
    };

    for (const auto& [name, paint] : painters)
        for (const auto& c : cases)
        {
            PixelCanvas canvas (40, c.height);
            paint (*canvas.g, 40, c.height);

            for (const auto& [row, expected] : c.rowsAtX5)
                EXPECT_TRUE (coloursNear (canvas.at (5, row), expected, 1))
                    << name << ", height " << c.height << ", row " << row;
            if (c.height > 4)
            {
                EXPECT_TRUE (coloursNear (canvas.at (0, 1), frameOverWhite, 1)) << name << ": left frame";
            }
        }
}

TEST (ControlsDrawing, TextEditorOutlineAndInnerShadow)
{
    TemplateLookAndFeel lf;

    struct Case
    {
        const char* name;
        bool enabled;
        // Alpha of the shadow (black 0x38) down the middle column, rows 0..3, and on the left edge.
        std::array<int, 4> topRowsAlpha;
        int leftEdgeAlpha;
    };

    // Unfocused: a transparent 1-pixel outline and a 3-pixel bevel fading inwards, sides at 0.75.
    const Case cases[] = {
        { "enabled, unfocused", true, { 56, 37, 19, 0 }, 42 },
        { "disabled: no outline, no shadow", false, { 0, 0, 0, 0 }, 0 },
    };

    for (const auto& c : cases)
    {
        juce::TextEditor editor;
        editor.setLookAndFeel (&lf);
        editor.setBounds (0, 0, 100, 40);
        editor.setEnabled (c.enabled);

        PixelCanvas canvas (100, 40);
        lf.drawTextEditorOutline (*canvas.g, 100, 40, editor);

        SCOPED_TRACE (c.name);
        for (int row = 0; row < 4; ++row)
        {
            const auto pixel = canvas.at (50, row);
            EXPECT_NEAR (pixel.getAlpha(), c.topRowsAlpha[(size_t)row], 1) << "row " << row;
            if (pixel.getAlpha() > 0)
            {
                EXPECT_EQ (brightness (pixel), 0) << "row " << row;
            }
        }
        EXPECT_NEAR (canvas.at (0, 20).getAlpha(), c.leftEdgeAlpha, 1);
        EXPECT_NEAR (canvas.at (99, 20).getAlpha(), c.leftEdgeAlpha, 1) << "right edge";

        editor.setLookAndFeel (nullptr);
    }
}

// Keyboard focus needs a window on a display: run where one exists.
TEST (ControlsDrawing, FocusedEditorAndComboBoxOutlines)
{
    SKIP_WITHOUT_DISPLAY();

    InstalledLookAndFeel installed;
    auto& lf = installed.lf;

    juce::Component content;
    juce::TextEditor editor;
    juce::ComboBox box;
    content.setBounds (20, 20, 300, 200);
    editor.setBounds (10, 10, 100, 40);
    box.setBounds (10, 80, 200, 24);
    content.addAndMakeVisible (editor);
    content.addAndMakeVisible (box);
    content.addToDesktop (juce::ComponentPeer::windowIsTemporary);
    content.setVisible (true);
    content.toFront (true);

    const auto focusOn = [] (juce::Component& c)
    {
        c.grabKeyboardFocus();
        for (int i = 0; i < 100 && !c.hasKeyboardFocus (false); ++i)
            juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
        return c.hasKeyboardFocus (false);
    };

    struct Case
    {
        const char* name;
        bool readOnly;
        int row1Min, row1Max; // alpha of row 1: the second outline line, or the bevel's second ring
        int row3Alpha;
    };

    // Focused for editing: a 2-pixel 0xb2808080 outline and a 4-pixel bevel at 0.75 of the shadow;
    // read-only is drawn as if unfocused.
    const Case cases[] = { { "focused", false, 170, 255, 11 }, { "focused, read-only", true, 36, 38, 0 } };

    for (const auto& c : cases)
    {
        editor.setReadOnly (c.readOnly);
        ASSERT_TRUE (focusOn (editor)) << c.name;

        PixelCanvas canvas (100, 40);
        lf.drawTextEditorOutline (*canvas.g, 100, 40, editor);
        const auto row1 = canvas.at (50, 1).getAlpha();
        EXPECT_TRUE (row1 >= c.row1Min && row1 <= c.row1Max) << c.name << ": " << (int)row1;
        EXPECT_NEAR (canvas.at (50, 3).getAlpha(), c.row3Alpha, 1) << c.name;
    }

    ASSERT_TRUE (focusOn (box));
    PixelCanvas focused (200, 24);
    lf.drawComboBox (*focused.g, 200, 24, false, 171, 0, 29, 24, box);
    EXPECT_EQ (hex (focused.at (1, 12)), hex (juce::Colour (0xffa6a6a6))) << "2-pixel outline";
    EXPECT_EQ (hex (focused.at (2, 12)), hex (juce::Colours::white));

    box.setEnabled (false);
    PixelCanvas disabled (200, 24);
    lf.drawComboBox (*disabled.g, 200, 24, false, 171, 0, 29, 24, box);
    EXPECT_EQ (hex (disabled.at (1, 12)), hex (juce::Colours::white)) << "disabled: 1-pixel outline";

    content.removeFromDesktop();
}
