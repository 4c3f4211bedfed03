// Progress bar, popup-menu and menu-bar backgrounds, corner resizer.
#include "lookandfeel/TemplateLookAndFeel.h"

#include "lookandfeel/TemplateLookAndFeelPalette.h"

using namespace TemplatePalette;

// JUCE 7's progress bar leaves its background and its text to the look-and-feel as well, so all four
// steps happen here: background, frame, filled part, text.
void TemplateLookAndFeel::drawProgressBar (juce::Graphics& g, juce::ProgressBar&, int width, int height,
                                           double progress, const juce::String& textToShow)
{
    const auto background = findColour (progressBarBackgroundColour);
    const auto foreground = findColour (progressBarForegroundColour);

    g.fillAll (background);

    g.setColour (contrasting (background, 0.2f));
    g.drawRect (0, 0, width, height);

    const double fillWidth = juce::jlimit (0.0, (double)(width - 2), (double)(width - 2) * progress);
    drawGlassCapsule (g, 1.0f, 1.0f, (float)fillWidth, (float)(height - 2), foreground, 0.5f, true, true,
                      true, true);

    if (textToShow.isNotEmpty())
    {
        // Laid out whole and centred: a text wider than the bar runs past its ends rather than
        // losing characters.
        juce::GlyphArrangement glyphs;
        glyphs.addLineOfText (juce::Font ((float)height * 0.6f), textToShow, 0.0f, 0.0f);
        glyphs.justifyGlyphs (0, glyphs.getNumGlyphs(), 0.0f, 0.0f, (float)width, (float)height,
                              juce::Justification::centred);
        g.setColour (juce::Colour::contrasting (foreground, background));
        glyphs.draw (g);
    }
}

// In JUCE 7 the combo box's drop-down list is a popup menu too; its options name the combo box as the
// target component, which tells the two apart.
void TemplateLookAndFeel::drawPopupMenuBackgroundWithOptions (juce::Graphics& g, int width, int height,
                                                              const juce::PopupMenu::Options& options)
{
    if (dynamic_cast<juce::ComboBox*> (options.getTargetComponent()) != nullptr)
        drawComboBoxListBackground (g, width, height);
    else
        drawPopupMenuBackground (g, width, height);
}

void TemplateLookAndFeel::drawPopupMenuBackground (juce::Graphics& g, int width, int height)
{
    const auto background = findColour (popupMenuBackgroundColour);
    g.fillAll (background);

    g.setColour (background.overlaidWith (juce::Colour (0xffadd8e6).withAlpha (0.17f)));

    for (int y = 0; y < height; y += 3)
        g.fillRect (0, y, width, 1);

    g.setColour (findColour (popupMenuTextColour).withAlpha (0.6f));
    g.drawRect (0, 0, width, height);
}

void TemplateLookAndFeel::drawMenuBarBackground (juce::Graphics& g, int width, int height, bool,
                                                 juce::MenuBarComponent& menuBar)
{
    const auto baseColour = deriveBaseColour (findColour (popupMenuBackgroundColour), false, false, false);

    if (menuBar.isEnabled())
        // Wider than the bar on both sides, so only its top and bottom edges show.
        drawGlossBar (g, -4.0f, 0.0f, (float)width + 8.0f, (float)height, 0.0f, baseColour, 0.4f, true, true,
                      true, true);
    else
        g.fillAll (baseColour);
}

void TemplateLookAndFeel::drawCornerResizer (juce::Graphics& g, int w, int h, bool, bool)
{
    const float fw = (float)w;
    const float fh = (float)h;
    const float lineThickness = juce::jmin (fw, fh) * 0.075f;

    for (float i = 0.0f; i < 1.0f; i += 0.3f)
    {
        g.setColour (juce::Colour (0xffd3d3d3));
        g.drawLine (fw * i, fh + 1.0f, fw + 1.0f, fh * i, lineThickness);

        g.setColour (juce::Colour (0xff555555));
        g.drawLine (fw * i + lineThickness, fh + 1.0f, fw + 1.0f, fh * i + lineThickness, lineThickness);
    }
}
