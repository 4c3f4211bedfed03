#include "lookandfeel/TemplateLookAndFeel.h"

#include "lookandfeel/TemplateLookAndFeelPalette.h"

using namespace TemplatePalette;

// JUCE 7's V4 scheme is dark by default; the light scheme gives the framework-drawn parts that the
// palette does not name (label and button text, text-editor background, alert text) the light
// defaults this look was made for.
TemplateLookAndFeel::TemplateLookAndFeel() : juce::LookAndFeel_V4 (getLightColourScheme())
{
    const juce::Colour white (0xffffffff);
    const juce::Colour black (0xff000000);

    // Entries the look relies on whose JUCE 7 defaults differ: set explicitly, before the entries
    // below copy from them.
    setColour (comboBoxBackgroundColour, white);
    setColour (comboBoxTextColour, black);
    setColour (comboListBackgroundColour, white);
    setColour (comboListTextColour, black);
    setColour (popupMenuTextColour, black);
    setColour (textHighlightColour, juce::Colour (0x401111ee));
    setColour (alertBackgroundColour, juce::Colour::greyLevel (0.93f));
    setColour (tooltipTextColour, black);

    // Per-component colours the drawing reads from the component and nothing in the system sets.
    setColour (juce::ComboBox::buttonColourId, juce::Colour (0x00000000));
    setColour (juce::TextEditor::outlineColourId, juce::Colour (0x00000000));
    setColour (juce::TextEditor::shadowColourId, juce::Colour (0x38000000));

    // The palette proper. Entries that must equal another are copied from it after it was set.
    setColour (focusOutlineColour, controlColour);
    setColour (scrollbarBackgroundColour, juce::Colour (0x00000000));
    setColour (scrollbarThumbColour, white);
    setColour (comboBoxOutlineColour, juce::Colour (0xb2808080));
    setColour (comboListHighlightedTextColour, findColour (comboListBackgroundColour));
    setColour (comboListHighlightedBackgroundColour, juce::Colour (0xb2808080));
    setColour (popupMenuBackgroundColour, white);
    setColour (popupMenuHighlightedTextColour, findColour (popupMenuBackgroundColour));
    setColour (popupMenuHighlightedBackgroundColour, findColour (comboListHighlightedBackgroundColour));
    setColour (sliderBackgroundColour, white);
    setColour (sliderTextBoxOutlineColour, findColour (comboBoxOutlineColour));
    setColour (progressBarBackgroundColour, white);
    setColour (progressBarForegroundColour, juce::Colour (0xffd3d3d3));
    setColour (tooltipBackgroundColour, white);
}

TemplateLookAndFeel::~TemplateLookAndFeel() = default;

juce::Colour TemplateLookAndFeel::deriveBaseColour (const juce::Colour& colour, bool hasKeyboardFocus,
                                                    bool isMouseOverButton, bool isButtonDown)
{
    const auto base = colour.withMultipliedSaturation (hasKeyboardFocus ? 1.3f : 0.9f);

    if (isButtonDown)
        return contrasting (base, 0.2f);

    if (isMouseOverButton)
        return contrasting (base, 0.1f);

    return base;
}

// JUCE 7's Colour::contrasting decides by perceived brightness, which tips saturated greens and
// yellows the other way; the look decides by the plain channel sum.
juce::Colour TemplateLookAndFeel::contrasting (juce::Colour colour, float amount)
{
    const int sum = colour.getRed() + colour.getGreen() + colour.getBlue();
    const auto overlay = sum >= 3 * 128 ? juce::Colours::black : juce::Colours::white;
    return colour.overlaidWith (overlay.withAlpha (amount));
}
