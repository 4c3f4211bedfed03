// The glass shapes of the house style: rounded outline, gloss bar, orb and capsule.
#include "lookandfeel/TemplateLookAndFeel.h"

namespace
{
constexpr float pi = juce::MathConstants<float>::pi;

juce::PathStrokeType outlineStroke (float width)
{
    return juce::PathStrokeType (width, juce::PathStrokeType::mitered, juce::PathStrokeType::butt);
}

// A corner is rounded only where neither of its sides continues into a neighbour.
struct RoundedCorners
{
    bool topLeft, topRight, bottomLeft, bottomRight;

    RoundedCorners (bool flatLeft, bool flatRight, bool flatTop, bool flatBottom)
        : topLeft (!(flatLeft || flatTop)), topRight (!(flatRight || flatTop)),
          bottomLeft (!(flatLeft || flatBottom)), bottomRight (!(flatRight || flatBottom))
    {
    }
};

// withAlpha with the argument limited to 0..1, as the shapes' alpha arithmetic may leave the range.
juce::Colour withLimitedAlpha (juce::Colour colour, float alpha)
{
    return colour.withAlpha (juce::jlimit (0.0f, 1.0f, alpha));
}
} // namespace

void TemplateLookAndFeel::buildRoundedOutline (juce::Path& path, float x, float y, float w, float h,
                                               float cornerSize, bool roundTopLeft, bool roundTopRight,
                                               bool roundBottomLeft, bool roundBottomRight)
{
    const float cs = cornerSize;
    const float cs2 = cs * 2.0f;

    if (roundTopLeft)
    {
        path.startNewSubPath (x, y + cs);
        path.addArc (x, y, cs2, cs2, pi * 1.5f, pi * 2.0f);
    }
    else
    {
        path.startNewSubPath (x, y);
    }

    if (roundTopRight)
    {
        path.lineTo (x + w - cs, y);
        path.addArc (x + w - cs2, y, cs2, cs2, 0.0f, pi * 0.5f);
    }
    else
    {
        path.lineTo (x + w, y);
    }

    if (roundBottomRight)
    {
        path.lineTo (x + w, y + h - cs);
        path.addArc (x + w - cs2, y + h - cs2, cs2, cs2, pi * 0.5f, pi);
    }
    else
    {
        path.lineTo (x + w, y + h);
    }

    if (roundBottomLeft)
    {
        path.lineTo (x + cs, y + h);
        path.addArc (x, y + h - cs2, cs2, cs2, pi, pi * 1.5f);
    }
    else
    {
        path.lineTo (x, y + h);
    }

    path.closeSubPath();
}

void TemplateLookAndFeel::drawGlossBar (juce::Graphics& g, float x, float y, float w, float h,
                                        float maxCornerSize, juce::Colour baseColour, float strokeWidth,
                                        bool flatLeft, bool flatRight, bool flatTop, bool flatBottom)
{
    if (w <= strokeWidth * 1.1f || h <= strokeWidth * 1.1f)
        return;

    const float cs = juce::jmin (maxCornerSize, w * 0.5f, h * 0.5f);
    const RoundedCorners corners (flatLeft, flatRight, flatTop, flatBottom);

    juce::Path outline;
    buildRoundedOutline (outline, x, y, w, h, cs, corners.topLeft, corners.topRight, corners.bottomLeft,
                         corners.bottomRight);

    const auto white = juce::Colours::white;
    const auto blue = juce::Colours::blue;
    juce::ColourGradient gradient (baseColour.overlaidWith (white.withAlpha (0.0f)), 0.0f, y,
                                   baseColour.overlaidWith (blue.withAlpha (0.03f)), 0.0f, y + h, false);
    gradient.addColour (0.5, baseColour.overlaidWith (white.withAlpha (0.2f)));
    gradient.addColour (0.51, baseColour.overlaidWith (blue.withAlpha (0.07f)));
    g.setGradientFill (gradient);
    g.fillPath (outline);

    g.setColour (juce::Colours::black.withAlpha (0.5f));
    g.strokePath (outline, outlineStroke (strokeWidth));
}

void TemplateLookAndFeel::drawGlassOrb (juce::Graphics& g, float x, float y, float diameter,
                                        juce::Colour colour, float outlineThickness)
{
    const float d = diameter;
    const float t = outlineThickness;

    if (t >= d)
        return;

    const float a = colour.getFloatAlpha();
    const auto white = juce::Colours::white;
    const auto black = juce::Colours::black;

    // Body: the colour over white, fading towards both poles.
    juce::ColourGradient body (white.overlaidWith (colour.withMultipliedAlpha (0.3f)), 0.0f, y,
                               white.overlaidWith (colour.withMultipliedAlpha (0.3f)), 0.0f, y + d, false);
    body.addColour (0.4, white.overlaidWith (colour));
    g.setGradientFill (body);
    g.fillEllipse (x, y, d, d);

    // Highlight across the upper half.
    g.setGradientFill (juce::ColourGradient (white, 0.0f, y + d * 0.06f, juce::Colours::transparentWhite,
                                             0.0f, y + d * 0.3f, false));
    g.fillEllipse (x + d * 0.2f, y + d * 0.05f, d * 0.6f, d * 0.4f);

    // Rim shade: clear out to 0.7 of the radius, then darkening towards the edge.
    juce::ColourGradient rim (juce::Colours::transparentBlack, x + d * 0.5f, y + d * 0.5f,
                              withLimitedAlpha (black, 0.5f * t * a), x, y + d * 0.5f, true);
    rim.addColour (0.7, juce::Colours::transparentBlack);
    rim.addColour (0.8, withLimitedAlpha (black, t * 0.1f));
    g.setGradientFill (rim);
    g.fillEllipse (x, y, d, d);

    g.setColour (withLimitedAlpha (black, a * 0.5f));
    juce::Path outline;
    outline.addEllipse (x, y, d, d);
    g.strokePath (outline, outlineStroke (t));
}

void TemplateLookAndFeel::drawGlassCapsule (juce::Graphics& g, float x, float y, float width, float height,
                                            juce::Colour colour, float outlineThickness, bool flatLeft,
                                            bool flatRight, bool flatTop, bool flatBottom)
{
    const float t = outlineThickness;

    if (width <= t || height <= t)
        return;

    const int intX = (int)x;
    const int intY = (int)y;
    const int intW = (int)width;
    const int intH = (int)height;

    const float cs = juce::jmin (width * 0.5f, height * 0.5f);
    const float edgeShadeRadius = height * 0.75f + (height - cs * 2.0f);
    const int intEdge = (int)edgeShadeRadius;

    const RoundedCorners corners (flatLeft, flatRight, flatTop, flatBottom);
    juce::Path outline;
    buildRoundedOutline (outline, x, y, width, height, cs, corners.topLeft, corners.topRight,
                         corners.bottomLeft, corners.bottomRight);

    // Body.
    {
        juce::ColourGradient body (colour.darker (0.2f), 0.0f, y, colour.darker (0.2f), 0.0f, y + height,
                                   false);
        body.addColour (0.03, colour.withMultipliedAlpha (0.3f));
        body.addColour (0.4, colour);
        body.addColour (0.97, colour.withMultipliedAlpha (0.3f));
        g.setGradientFill (body);
        g.fillPath (outline);
    }

    // Darker rounded ends, each clipped to its own end so the radial fill does not spill inwards.
    juce::ColourGradient endShade (juce::Colours::transparentBlack, x + edgeShadeRadius, y + height * 0.5f,
                                   colour.darker (0.2f), x, y + height * 0.5f, true);
    endShade.addColour (1.0 - (cs * 0.5f) / edgeShadeRadius, juce::Colours::transparentBlack);
    endShade.addColour (1.0 - (cs * 0.25f) / edgeShadeRadius,
                        colour.darker (0.2f).withMultipliedAlpha (0.3f));

    if (!(flatLeft || flatTop || flatBottom))
    {
        juce::Graphics::ScopedSaveState state (g);
        g.reduceClipRegion (intX, intY, intEdge, intH);
        g.setGradientFill (endShade);
        g.fillPath (outline);
    }

    if (!(flatRight || flatTop || flatBottom))
    {
        endShade.point1.setX (x + width - edgeShadeRadius);
        endShade.point2.setX (x + width);

        juce::Graphics::ScopedSaveState state (g);
        g.reduceClipRegion (intX + intW - intEdge, intY, intEdge + 2, intH);
        g.setGradientFill (endShade);
        g.fillPath (outline);
    }

    // Highlight along the top.
    {
        const float leftIndent = flatLeft ? 0.0f : cs * 0.4f;
        const float rightIndent = flatRight ? 0.0f : cs * 0.4f;

        juce::Path highlight;
        buildRoundedOutline (highlight, x + leftIndent, y + cs * 0.1f, width - (leftIndent + rightIndent),
                             height * 0.4f, cs * 0.4f, corners.topLeft, corners.topRight, corners.bottomLeft,
                             corners.bottomRight);

        g.setGradientFill (juce::ColourGradient (colour.brighter (10.0f), 0.0f, y + height * 0.06f,
                                                 juce::Colours::transparentWhite, 0.0f, y + height * 0.4f,
                                                 false));
        g.fillPath (highlight);
    }

    g.setColour (colour.darker (0.4f).withMultipliedAlpha (1.5f));
    g.strokePath (outline, outlineStroke (t));
}
