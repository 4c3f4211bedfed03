// Text-button backgrounds, tick boxes, combo boxes with their drop-down list, text-editor outlines.
#include "lookandfeel/TemplateLookAndFeel.h"

#include "lookandfeel/TemplateLookAndFeelPalette.h"

using namespace TemplatePalette;

void TemplateLookAndFeel::drawButtonBackground (juce::Graphics& g, juce::Button& button,
                                                const juce::Colour& backgroundColour, bool isMouseOverButton,
                                                bool isButtonDown)
{
    const int width = button.getWidth();
    const int height = button.getHeight();
    const bool enabled = button.isEnabled();

    const float outlineThickness = !enabled ? 0.4f : (isButtonDown || isMouseOverButton) ? 1.2f : 0.7f;

    // A side joined to a neighbour runs almost to the edge so the two buttons meet.
    const auto indent = [outlineThickness] (bool connected)
    {
        return connected ? 0.1f : outlineThickness * 0.5f;
    };
    const float indentLeft = indent (button.isConnectedOnLeft());
    const float indentRight = indent (button.isConnectedOnRight());
    const float indentTop = indent (button.isConnectedOnTop());
    const float indentBottom = indent (button.isConnectedOnBottom());

    const auto baseColour =
        deriveBaseColour (backgroundColour, button.hasKeyboardFocus (true), isMouseOverButton, isButtonDown)
            .withMultipliedAlpha (enabled ? 1.0f : 0.5f);

    drawGlassCapsule (g, indentLeft, indentTop, (float)width - indentLeft - indentRight,
                      (float)height - indentTop - indentBottom, baseColour, outlineThickness,
                      button.isConnectedOnLeft(), button.isConnectedOnRight(), button.isConnectedOnTop(),
                      button.isConnectedOnBottom());
}

void TemplateLookAndFeel::drawTickBox (juce::Graphics& g, juce::Component&, float x, float y, float w,
                                       float h, bool ticked, bool isEnabled, bool isMouseOverButton,
                                       bool isButtonDown)
{
    const float boxSize = w * 0.7f;
    const float outline = !isEnabled ? 0.3f : (isButtonDown || isMouseOverButton) ? 1.1f : 0.5f;

    const auto orbColour =
        deriveBaseColour (isEnabled ? controlColour : controlColour.withMultipliedAlpha (0.5f), true,
                          isMouseOverButton, isButtonDown);

    drawGlassOrb (g, x, y + (h - boxSize) * 0.5f, boxSize, orbColour, outline);

    if (ticked)
    {
        // Laid out on a 9 x 9 grid of the whole area, so the tick's long stroke reaches above the orb.
        juce::Path tick;
        tick.startNewSubPath (1.5f, 3.0f);
        tick.lineTo (3.0f, 6.0f);
        tick.lineTo (6.0f, 0.0f);

        g.setColour (isEnabled ? juce::Colour (0xff000000) : juce::Colour (0xff808080));
        const auto trans = juce::AffineTransform::scale (w / 9.0f, h / 9.0f).translated (x, y);
        g.strokePath (tick,
                      juce::PathStrokeType (2.5f, juce::PathStrokeType::mitered, juce::PathStrokeType::butt),
                      trans);
    }
}

void TemplateLookAndFeel::drawTextEditorOutline (juce::Graphics& g, int width, int height,
                                                 juce::TextEditor& editor)
{
    if (!editor.isEnabled())
        return;

    const bool focusedForEditing = editor.hasKeyboardFocus (true) && !editor.isReadOnly();

    g.setColour (focusedForEditing ? findColour (focusOutlineColour)
                                   : editor.findColour (juce::TextEditor::outlineColourId));
    g.drawRect (0, 0, width, height, focusedForEditing ? 2 : 1);

    // The inner shadow is drawn at full strength whatever opacity the outline left behind.
    g.setOpacity (1.0f);
    auto shadowColour = editor.findColour (juce::TextEditor::shadowColourId);

    if (focusedForEditing)
        shadowColour = shadowColour.withMultipliedAlpha (0.75f);

    // Two pixels taller than the editor, so only the top and the sides of the bevel show.
    juce::LookAndFeel_V2::drawBevel (g, 0, 0, width, height + 2, focusedForEditing ? 4 : 3, shadowColour,
                                     shadowColour, true, true);
}

void TemplateLookAndFeel::drawComboBox (juce::Graphics& g, int width, int height, bool isButtonDown,
                                        int buttonX, int buttonY, int buttonW, int buttonH,
                                        juce::ComboBox& box)
{
    const bool enabled = box.isEnabled();

    g.fillAll (findColour (comboBoxBackgroundColour));

    g.setColour (findColour (comboBoxOutlineColour));
    g.drawRect (0, 0, width, height, enabled && box.hasKeyboardFocus (false) ? 2 : 1);

    const float t = !enabled ? 0.3f : isButtonDown ? 1.2f : 0.5f;

    // The box's own button colour is transparent unless someone sets it, and then this shows nothing.
    drawGlassCapsule (g, (float)buttonX + t, (float)buttonY + t, (float)buttonW - t * 2.0f,
                      (float)buttonH - t * 2.0f, box.findColour (juce::ComboBox::buttonColourId), t, true,
                      true, true, true);

    if (enabled)
    {
        const float bx = (float)buttonX;
        const float by = (float)buttonY;
        const float bw = (float)buttonW;
        const float bh = (float)buttonH;

        juce::Path arrows;
        arrows.addTriangle (bx + bw * 0.5f, by + bh * 0.25f, bx + bw * 0.7f, by + bh * 0.45f, bx + bw * 0.3f,
                            by + bh * 0.45f);
        arrows.addTriangle (bx + bw * 0.5f, by + bh * 0.75f, bx + bw * 0.7f, by + bh * 0.55f, bx + bw * 0.3f,
                            by + bh * 0.55f);

        g.setColour (juce::Colours::black.withAlpha (0.6f));
        g.fillPath (arrows);
    }
}

void TemplateLookAndFeel::drawComboBoxListBackground (juce::Graphics& g, int width, int height)
{
    const auto background = findColour (comboListBackgroundColour);
    g.fillAll (background);

    g.setColour (background.overlaidWith (juce::Colour (0xffadd8e6).withAlpha (0.17f)));

    for (int y = 0; y < height; y += 3)
        g.fillRect (0, y, width, 1);

    g.setColour (findColour (comboListTextColour).withAlpha (0.6f));
    g.drawRect (0, 0, width, height);
}

juce::Font TemplateLookAndFeel::getComboBoxFont (juce::ComboBox& box)
{
    return juce::Font (juce::jmin (15.0f, (float)box.getHeight() * 0.85f));
}

// The item font of the combo box's drop-down list, which the framework also uses for every other popup
// menu.
juce::Font TemplateLookAndFeel::getPopupMenuFont()
{
    return juce::Font (15.0f);
}
