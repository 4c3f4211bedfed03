#include "lookandfeel/GlassWindowButton.h"

#include "lookandfeel/TemplateLookAndFeel.h"

GlassWindowButton::GlassWindowButton (const juce::String& name, juce::Colour colour, const juce::Path& symbol,
                                      const juce::Path& toggledSymbol)
    : juce::Button (name), sphereColour (colour), symbolShape (symbol), toggledSymbolShape (toggledSymbol)
{
}

GlassWindowButton::~GlassWindowButton() = default;

void GlassWindowButton::paintButton (juce::Graphics& g, bool isMouseOverButton, bool isButtonDown)
{
    float alpha = isMouseOverButton ? (isButtonDown ? 1.0f : 0.8f) : 0.55f;

    if (!isEnabled())
        alpha *= 0.5f;

    // The circle is centred along the longer side and touches the shorter one.
    float x = 0.0f, y = 0.0f, diameter = 0.0f;

    if (getWidth() < getHeight())
    {
        diameter = (float)getWidth();
        y = (float)(getHeight() - getWidth()) * 0.5f;
    }
    else
    {
        diameter = (float)getHeight();
        x = (float)(getWidth() - getHeight()) * 0.5f;
    }

    x += diameter * 0.05f;
    y += diameter * 0.05f;
    diameter *= 0.9f;

    // A grey disc, darker at the top, around the sphere.
    g.setGradientFill (juce::ColourGradient (juce::Colour::greyLevel (0.9f).withAlpha (alpha), 0.0f,
                                             y + diameter, juce::Colour::greyLevel (0.6f).withAlpha (alpha),
                                             0.0f, y, false));
    g.fillEllipse (x, y, diameter, diameter);

    x += 2.0f;
    y += 2.0f;
    diameter -= 4.0f;

    TemplateLookAndFeel::drawGlassOrb (g, x, y, diameter, sphereColour.withAlpha (alpha), 1.0f);

    const auto& symbol = getToggleState() ? toggledSymbolShape : symbolShape;
    const auto transform = symbol.getTransformToScaleToFit (x + diameter * 0.3f, y + diameter * 0.3f,
                                                            diameter * 0.4f, diameter * 0.4f, true);

    g.setColour (juce::Colours::black.withAlpha (alpha * 0.6f));
    g.fillPath (symbol, transform);
}
