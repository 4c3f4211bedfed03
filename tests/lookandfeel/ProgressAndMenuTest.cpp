#include "lookandfeel/TemplateLookAndFeel.h"

#include "PixelCanvas.h"

#include <gtest/gtest.h>

namespace
{
const juce::Colour frameGrey (0xffcbcbcb); // white made contrasting by 0.2: 203, 203, 203
const juce::Colour barText = juce::Colour::contrasting (juce::Colour (0xffd3d3d3), juce::Colours::white);

PixelCanvas paintProgressBar (TemplateLookAndFeel& lf, int width, int height, double progress,
                              const juce::String& text)
{
    double value = progress;
    juce::ProgressBar bar (value);
    bar.setSize (width, height);

    PixelCanvas canvas (width, height);
    lf.drawProgressBar (*canvas.g, bar, width, height, progress, text);
    return canvas;
}
} // namespace

TEST (ProgressBarDrawing, FrameFilledPartAndText)
{
    InstalledLookAndFeel installed;
    auto& lf = installed.lf;

    struct Case
    {
        const char* name;
        double progress;
        int lastFilledColumn; // -1: nothing filled
    };

    // The filled part starts at x 1 and is (width - 2) x progress wide, within 0 .. width - 2.
    const Case cases[] = {
        { "half way: 99 x 28 at (1, 1)", 0.5, 99 },
        { "nothing yet", 0.0, -1 },
        { "a quarter-pixel is no fill", 0.002, -1 },
        { "beyond the end", 1.5, 198 },
        { "negative", -0.5, -1 },
    };

    for (const auto& c : cases)
    {
        auto canvas = paintProgressBar (lf, 200, 30, c.progress, {});
        SCOPED_TRACE (c.name);

        // The frame where the filled part's outline does not touch it.
        if (c.lastFilledColumn < 198)
        {
            for (const auto& [x, y] : { std::pair { 150, 0 }, { 199, 15 }, { 150, 29 }, { 199, 0 } })
                EXPECT_EQ (hex (canvas.at (x, y)), hex (frameGrey)) << "frame at " << x << ", " << y;
        }
        if (c.lastFilledColumn < 0)
        {
            EXPECT_EQ (hex (canvas.at (0, 15)), hex (frameGrey));
        }

        // Row 5 is clear of the text; the filled part is a flat-ended grey glass rectangle.
        if (c.lastFilledColumn > 0)
        {
            EXPECT_LT (brightness (canvas.at (1, 5)), 3 * 250) << "filled from x 1";
            EXPECT_LT (brightness (canvas.at (c.lastFilledColumn - 1, 5)), 3 * 250);
            EXPECT_LT (brightness (canvas.at (50, 28)), 3 * 250) << "filled down to row 28";
        }
        if (c.lastFilledColumn < 198)
            EXPECT_EQ (hex (canvas.at (c.lastFilledColumn + 2, 5)), hex (juce::Colours::white))
                << "white after the filled part";
        else
            EXPECT_TRUE (coloursNear (canvas.at (197, 5), canvas.at (100, 5), 1)) << "filled to the end";
    }
}

TEST (ProgressBarDrawing, PercentageTextIsCentredAndNotShortened)
{
    InstalledLookAndFeel installed;
    auto canvas = paintProgressBar (installed.lf, 200, 30, 0.5, "50%");

    EXPECT_GT (canvas.count (barText), 10) << "text in " << hex (barText);

    // Plain DejaVu Sans 18 high (its digits are 11 pixels tall), centred on the bar.
    const auto text = canvas.boundsOfPixelsNot (canvas.at (50, 14), 40, { 60, 2, 80, 26 });
    EXPECT_NEAR (text.getCentreX(), 100, 1) << text.toString();
    EXPECT_NEAR (text.getCentreY(), 15, 1) << text.toString();
    EXPECT_NEAR (text.getHeight(), 11, 1) << text.toString();
    EXPECT_NEAR (text.getWidth(), 32, 3) << text.toString();

    // A text wider than the bar is drawn whole and centred (running past both ends), neither cut
    // short nor ended with an ellipsis.
    // The inside of a 40-wide bar shows the middle of the same text in a 400-wide one (up to the
    // glyph cache's sub-pixel steps).
    auto narrow = paintProgressBar (installed.lf, 40, 30, 0.0, "1000000%");
    auto wide = paintProgressBar (installed.lf, 400, 30, 0.0, "1000000%");
    int differences = 0;
    for (int y = 1; y < 29; ++y)
        for (int x = 1; x < 39; ++x)
            differences += coloursNear (narrow.at (x, y), wide.at (x + 180, y), 24) ? 0 : 1;
    EXPECT_EQ (differences, 0);
    EXPECT_LT (narrow.count (juce::Colours::white), 38 * 28 - 100) << "text drawn across the bar";
}

TEST (ProgressBarDrawing, AFlatBarShowsOnlyItsFrame)
{
    TemplateLookAndFeel lf;
    auto canvas = paintProgressBar (lf, 200, 2, 0.5, {});
    EXPECT_EQ (canvas.count (frameGrey), 400);
}

TEST (MenuDrawing, MenuBarGlossAndDisabledFill)
{
    TemplateLookAndFeel lf;
    juce::MenuBarComponent menuBar;

    PixelCanvas enabled (100, 20);
    lf.drawMenuBarBackground (*enabled.g, 100, 20, false, menuBar);
    // Outline along the top and bottom only: the bar runs 4 pixels past both ends.
    EXPECT_LT (brightness (enabled.at (50, 0)), 3 * 240);
    EXPECT_LT (brightness (enabled.at (50, 19)), 3 * 240);
    EXPECT_TRUE (coloursNear (enabled.at (0, 5), enabled.at (50, 5), 3));
    EXPECT_TRUE (coloursNear (enabled.at (99, 5), enabled.at (50, 5), 3));
    EXPECT_TRUE (coloursNear (enabled.at (50, 9), juce::Colours::white, 1)) << "light line above the middle";
    EXPECT_LT (enabled.at (50, 10).getRed(), 245) << "blue tint below it";

    menuBar.setEnabled (false);
    PixelCanvas disabled (100, 20);
    lf.drawMenuBarBackground (*disabled.g, 100, 20, false, menuBar);
    EXPECT_EQ (disabled.count (juce::Colours::white), 100 * 20);
}
