// Scroll bars (track, thumb, arrow buttons) and linear sliders.
#include "lookandfeel/TemplateLookAndFeel.h"

#include "lookandfeel/TemplateLookAndFeelPalette.h"

using namespace TemplatePalette;

namespace
{
juce::PathStrokeType thinStroke (float width)
{
    return juce::PathStrokeType (width, juce::PathStrokeType::mitered, juce::PathStrokeType::butt);
}
} // namespace

// The arrow buttons are part of the look (the framework's V3/V4 hide them).
bool TemplateLookAndFeel::areScrollbarButtonsVisible()
{
    return true;
}

// The track, thumb and arrows are shaded for a bar of this thickness; JUCE 7 defaults to 8 pixels.
int TemplateLookAndFeel::getDefaultScrollbarWidth()
{
    return 18;
}

void TemplateLookAndFeel::drawScrollbarButton (juce::Graphics& g, juce::ScrollBar&, int width, int height,
                                               int buttonDirection, bool, bool, bool isButtonDown)
{
    const float w = (float)width;
    const float h = (float)height;

    juce::Path arrow;

    switch (buttonDirection)
    {
        case 0:
            arrow.addTriangle (w * 0.5f, h * 0.2f, w * 0.1f, h * 0.7f, w * 0.9f, h * 0.7f);
            break;
        case 1:
            arrow.addTriangle (w * 0.8f, h * 0.5f, w * 0.3f, h * 0.1f, w * 0.3f, h * 0.9f);
            break;
        case 2:
            arrow.addTriangle (w * 0.5f, h * 0.8f, w * 0.1f, h * 0.3f, w * 0.9f, h * 0.3f);
            break;
        case 3:
            arrow.addTriangle (w * 0.2f, h * 0.5f, w * 0.7f, h * 0.1f, w * 0.7f, h * 0.9f);
            break;
        default:
            break;
    }

    const auto thumbColour = findColour (scrollbarThumbColour);
    g.setColour (isButtonDown ? contrasting (thumbColour, 0.2f) : thumbColour);
    g.fillPath (arrow);

    g.setColour (juce::Colours::black.withAlpha (0.5f));
    g.strokePath (arrow, thinStroke (0.5f));
}

void TemplateLookAndFeel::drawScrollbar (juce::Graphics& g, juce::ScrollBar&, int x, int y, int width,
                                         int height, bool isScrollbarVertical, int thumbStartPosition,
                                         int thumbSize, bool, bool)
{
    g.fillAll (findColour (scrollbarBackgroundColour));

    const float fx = (float)x;
    const float fy = (float)y;
    const float fw = (float)width;
    const float fh = (float)height;

    const float slotIndent = juce::jmin (width, height) > 15 ? 1.0f : 0.0f;
    const float thumbIndent = slotIndent + 1.0f;

    float gx1 = 0.0f, gy1 = 0.0f, gx2 = 0.0f, gy2 = 0.0f;

    juce::Path slotPath, thumbPath;

    if (isScrollbarVertical)
    {
        slotPath.addRoundedRectangle (fx + slotIndent, fy + slotIndent, fw - slotIndent * 2.0f,
                                      fh - slotIndent * 2.0f, (fw - slotIndent * 2.0f) * 0.5f);

        if (thumbSize > 0)
            thumbPath.addRoundedRectangle (fx + thumbIndent, (float)thumbStartPosition + thumbIndent,
                                           fw - thumbIndent * 2.0f, (float)thumbSize - thumbIndent * 2.0f,
                                           (fw - thumbIndent * 2.0f) * 0.5f);
        gx1 = fx;
        gx2 = fx + fw * 0.7f;
    }
    else
    {
        slotPath.addRoundedRectangle (fx + slotIndent, fy + slotIndent, fw - slotIndent * 2.0f,
                                      fh - slotIndent * 2.0f, (fh - slotIndent * 2.0f) * 0.5f);

        if (thumbSize > 0)
            thumbPath.addRoundedRectangle ((float)thumbStartPosition + thumbIndent, fy + thumbIndent,
                                           (float)thumbSize - thumbIndent * 2.0f, fh - thumbIndent * 2.0f,
                                           (fh - thumbIndent * 2.0f) * 0.5f);
        gy1 = fy;
        gy2 = fy + fh * 0.7f;
    }

    const auto thumbColour = findColour (scrollbarThumbColour);
    const auto black = juce::Colours::black;

    g.setGradientFill (juce::ColourGradient (thumbColour.overlaidWith (black.withAlpha (0.27f)), gx1, gy1,
                                             thumbColour.overlaidWith (black.withAlpha (0.1f)), gx2, gy2,
                                             false));
    g.fillPath (slotPath);

    // The same fill again, darkening towards the far edge.
    if (isScrollbarVertical)
    {
        gx1 = fx + fw * 0.6f;
        gx2 = fx + fw;
    }
    else
    {
        gy1 = fy + fh * 0.6f;
        gy2 = fy + fh;
    }

    g.setGradientFill (
        juce::ColourGradient (black.withAlpha (0.0f), gx1, gy1, black.withAlpha (0.1f), gx2, gy2, false));
    g.fillPath (slotPath);

    g.setColour (thumbColour);
    g.fillPath (thumbPath);

    // A faint shade on the far half of the thumb.
    {
        juce::Graphics::ScopedSaveState state (g);
        g.setGradientFill (juce::ColourGradient (black.withAlpha (0.05f), gx1, gy1, black.withAlpha (0.0f),
                                                 gx2, gy2, false));

        if (isScrollbarVertical)
            g.reduceClipRegion (x + width / 2, y, width, height);
        else
            g.reduceClipRegion (x, y + height / 2, width, height);

        g.fillPath (thumbPath);
    }

    g.setColour (black.withAlpha (0.3f));
    g.strokePath (thumbPath, thinStroke (0.4f));
}

juce::ImageEffectFilter* TemplateLookAndFeel::getScrollbarEffect()
{
    return nullptr;
}

void TemplateLookAndFeel::drawLinearSlider (juce::Graphics& g, int x, int y, int width, int height,
                                            float sliderPos, float, float, juce::Slider::SliderStyle style,
                                            juce::Slider& slider)
{
    const bool enabled = slider.isEnabled();
    const bool over = slider.isMouseOverOrDragging() && enabled;

    if (style == juce::Slider::LinearBar)
    {
        g.fillAll (findColour (sliderBackgroundColour).withAlpha (enabled ? 0.5f : 0.15f));

        const auto colour = enabled ? controlColour : controlColour.withMultipliedSaturation (0.5f);
        const auto baseColour = deriveBaseColour (colour, false, over, over || slider.isMouseButtonDown());

        drawGlossBar (g, (float)x, (float)y, sliderPos - (float)x, (float)height, 0.0f, baseColour,
                      enabled ? 0.9f : 0.3f, true, true, true, true);
        return;
    }

    const float sliderRadius = (float)getSliderThumbRadius (slider);
    const auto trackColour = juce::Colours::white.withAlpha (0.5f);
    const auto black = juce::Colours::black;
    const auto gradCol1 = trackColour.overlaidWith (black.withAlpha (enabled ? 0.25f : 0.13f));
    const auto gradCol2 = trackColour.overlaidWith (black.withAlpha (0.08f));

    // Only the plain horizontal style lies down; every other style stands upright.
    const bool horizontal = style == juce::Slider::LinearHorizontal;

    juce::Path indent;

    if (horizontal)
    {
        const float iy = (float)y + (float)height * 0.5f - sliderRadius * 0.5f;
        const float ih = sliderRadius;
        g.setGradientFill (juce::ColourGradient (gradCol1, 0.0f, iy, gradCol2, 0.0f, iy + ih, false));
        indent.addRoundedRectangle ((float)x, iy, (float)width, ih, 5.0f);
    }
    else
    {
        const float ix = (float)x + (float)width * 0.5f - sliderRadius * 0.5f;
        const float iw = sliderRadius;
        g.setGradientFill (juce::ColourGradient (gradCol1, ix, 0.0f, gradCol2, ix + iw, 0.0f, false));
        indent.addRoundedRectangle (ix, (float)y, iw, (float)height, 5.0f);
    }

    g.fillPath (indent);

    g.setColour (black.withAlpha (0.3f));
    g.strokePath (indent, thinStroke (0.5f));

    const auto knobColour = deriveBaseColour (controlColour, slider.hasKeyboardFocus (false) && enabled, over,
                                              slider.isMouseButtonDown() && enabled);
    const float outline = enabled ? 0.8f : 0.3f;

    if (horizontal)
        drawGlassOrb (g, sliderPos - sliderRadius, (float)y + (float)height * 0.5f - sliderRadius,
                      sliderRadius * 2.0f, knobColour, outline);
    else
        drawGlassOrb (g, (float)x + (float)width * 0.5f - sliderRadius, sliderPos - sliderRadius,
                      sliderRadius * 2.0f, knobColour, outline);
}

int TemplateLookAndFeel::getSliderThumbRadius (juce::Slider& slider)
{
    return juce::jmin (7, slider.getHeight() / 2, slider.getWidth() / 2);
}

juce::Button* TemplateLookAndFeel::createSliderButton (juce::Slider&, bool isIncrement)
{
    return new juce::TextButton (isIncrement ? "+" : "-", juce::String());
}

juce::ImageEffectFilter* TemplateLookAndFeel::getSliderEffect (juce::Slider&)
{
    return nullptr;
}
