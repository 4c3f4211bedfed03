#include "lookandfeel/TemplateLookAndFeel.h"

#include "PixelCanvas.h"

#include <gtest/gtest.h>

namespace
{
// Paints a scroll bar lying along its own axis; `across` and `along` turn (across, along) positions
// into image pixels for either orientation.
struct ScrollbarCanvas
{
    bool vertical;
    PixelCanvas canvas;

    ScrollbarCanvas (TemplateLookAndFeel& lf, bool isVertical, int thickness, int thumbStart, int thumbSize)
        : vertical (isVertical), canvas (isVertical ? thickness : 120, isVertical ? 120 : thickness)
    {
        juce::ScrollBar bar (vertical);
        lf.drawScrollbar (*canvas.g, bar, 0, 0, canvas.image.getWidth(), canvas.image.getHeight(), vertical,
                          thumbStart, thumbSize, false, false);
    }

    juce::Colour at (int across, int along) const
    {
        return vertical ? canvas.at (across, along) : canvas.at (along, across);
    }
};
} // namespace

TEST (ScrollbarDrawing, TrackAndThumbIndents)
{
    TemplateLookAndFeel lf;

    struct Case
    {
        int thickness;
        int firstTrackPixel; // across the bar, at a point of the track clear of the thumb
        int firstThumbPixel;
    };

    // Up to 15 pixels thick the track is flush with the bar and the thumb inset 1; from 16 on, 1 and 2.
    const Case cases[] = { { 15, 0, 1 }, { 16, 1, 2 } };

    for (const bool vertical : { true, false })
        for (const auto& c : cases)
        {
            ScrollbarCanvas bar (lf, vertical, c.thickness, 30, 40);
            SCOPED_TRACE (std::string (vertical ? "vertical " : "horizontal ") +
                          std::to_string (c.thickness));

            if (c.firstTrackPixel > 0)
            {
                EXPECT_EQ (bar.at (c.firstTrackPixel - 1, 100).getAlpha(), 0) << "outside the track";
            }
            EXPECT_EQ (bar.at (c.firstTrackPixel, 100).getAlpha(), 255) << "track edge";
            EXPECT_LT (brightness (bar.at (c.firstTrackPixel, 100)), 3 * 200) << "track is grey";

            // Across the thumb's middle: track colour up to the thumb's edge, then white.
            EXPECT_LT (brightness (bar.at (c.firstThumbPixel - 1, 50)), 3 * 200) << "track beside the thumb";
            EXPECT_GT (brightness (bar.at (c.firstThumbPixel, 50)), 3 * 235) << "thumb edge";
        }
}

TEST (ScrollbarDrawing, ThumbShadeIsClippedToTheFarHalf)
{
    TemplateLookAndFeel lf;

    for (const bool vertical : { true, false })
    {
        // 17 thick: the shade starts 8 pixels in (17 / 2 truncated), over the white thumb.
        ScrollbarCanvas bar (lf, vertical, 17, 30, 40);
        SCOPED_TRACE (vertical ? "vertical" : "horizontal");

        EXPECT_EQ (hex (bar.at (7, 50)), hex (juce::Colours::white));
        EXPECT_TRUE (coloursNear (bar.at (8, 50), juce::Colour (0xfff2f2f2), 1));
        EXPECT_TRUE (coloursNear (bar.at (9, 50), juce::Colour (0xfff2f2f2), 1));
    }
}

TEST (ScrollbarDrawing, NoThumbLeavesTheTrack)
{
    TemplateLookAndFeel lf;
    ScrollbarCanvas bar (lf, true, 17, 30, 0);

    EXPECT_LT (brightness (bar.at (7, 50)), 3 * 240);
    EXPECT_TRUE (coloursNear (bar.at (7, 50), bar.at (7, 100), 1)) << "no thumb, no thumb outline";
}

TEST (ScrollbarDrawing, ArrowButtons)
{
    TemplateLookAndFeel lf;
    juce::ScrollBar bar (true);

    struct Case
    {
        const char* name;
        int direction;
        bool over, down;
        juce::Point<int> inside;
        juce::uint32 fill;
    };

    const Case cases[] = {
        { "up", 0, false, false, { 9, 10 }, 0xffffffff },
        { "right", 1, false, false, { 8, 9 }, 0xffffffff },
        { "down", 2, false, false, { 9, 7 }, 0xffffffff },
        { "left", 3, false, false, { 9, 9 }, 0xffffffff },
        { "up, mouse over", 0, true, false, { 9, 10 }, 0xffffffff },
        { "up, pressed", 0, true, true, { 9, 10 }, 0xffcbcbcb },
    };

    for (const auto& c : cases)
    {
        PixelCanvas canvas (18, 18);
        lf.drawScrollbarButton (*canvas.g, bar, 18, 18, c.direction, true, c.over, c.down);
        SCOPED_TRACE (c.name);

        EXPECT_EQ (hex (canvas.at (c.inside.x, c.inside.y)), hex (juce::Colour (c.fill)));
        EXPECT_EQ (canvas.at (0, 0).getAlpha(), 0) << "no button background";
    }

    PixelCanvas canvas (18, 18);
    lf.drawScrollbarButton (*canvas.g, bar, 18, 18, 4, true, false, false);
    EXPECT_TRUE (canvas.isEmpty()) << "no such direction";

    EXPECT_TRUE (lf.areScrollbarButtonsVisible());
    EXPECT_EQ (lf.getScrollbarEffect(), nullptr);
}

TEST (SliderDrawing, ThumbRadiusButtonsAndEmptyBar)
{
    TemplateLookAndFeel lf;

    const std::tuple<int, int, int> radii[] = {
        { 40, 10, 5 }, { 40, 13, 6 }, { 100, 100, 7 }, { 9, 100, 4 }
    };

    for (const auto& [w, h, expected] : radii)
    {
        juce::Slider slider;
        slider.setSize (w, h);
        EXPECT_EQ (lf.getSliderThumbRadius (slider), expected) << w << " x " << h;
    }

    juce::Slider slider (juce::Slider::LinearBar, juce::Slider::NoTextBox);
    slider.setSize (100, 20);

    for (const bool increment : { true, false })
    {
        std::unique_ptr<juce::Button> button (lf.createSliderButton (slider, increment));
        ASSERT_NE (button, nullptr);
        EXPECT_EQ (button->getButtonText(), increment ? "+" : "-");
        EXPECT_TRUE (button->getTooltip().isEmpty());
    }

    EXPECT_EQ (lf.getSliderEffect (slider), nullptr);

    // A bar at its minimum has width 0: only the half-white background shows.
    PixelCanvas canvas (100, 20);
    lf.drawLinearSlider (*canvas.g, 0, 0, 100, 20, 0.0f, 0.0f, 100.0f, juce::Slider::LinearBar, slider);
    EXPECT_TRUE (coloursNear (canvas.at (0, 0), juce::Colour (0x80ffffff), 2));
    EXPECT_EQ (canvas.count (canvas.at (0, 0)), 100 * 20);

    // Half way: the gloss bar covers the left half, outlined on its edge.
    PixelCanvas half (100, 20);
    lf.drawLinearSlider (*half.g, 0, 0, 100, 20, 50.0f, 0.0f, 100.0f, juce::Slider::LinearBar, slider);
    EXPECT_GT (half.at (25, 10).getAlpha(), 0x80);
    EXPECT_EQ (half.at (75, 10), canvas.at (0, 0));
}
