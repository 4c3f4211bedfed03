#include "lookandfeel/TemplateLookAndFeel.h"

#include "PixelCanvas.h"

#include <gtest/gtest.h>

namespace
{
struct PaletteEntry
{
    const char* name;
    int colourId;
    juce::uint32 expected;
};

// The framework reads these ids itself (menu items, labels, tooltips, alert boxes), so each must hold
// the house value rather than JUCE 7's dark V4 default.
const PaletteEntry paletteEntries[] = {
    { "focusOutlineColour", juce::TextEditor::focusedOutlineColourId, 0xb2808080 },
    { "scrollbarBackgroundColour", juce::ScrollBar::backgroundColourId, 0x00000000 },
    { "scrollbarThumbColour", juce::ScrollBar::thumbColourId, 0xffffffff },
    { "comboBoxOutlineColour", juce::ComboBox::outlineColourId, 0xb2808080 },
    { "comboBoxBackgroundColour", juce::ComboBox::backgroundColourId, 0xffffffff },
    { "comboBoxTextColour", juce::ComboBox::textColourId, 0xff000000 },
    { "comboList/popupMenu background", juce::PopupMenu::backgroundColourId, 0xffffffff },
    { "comboList/popupMenu text", juce::PopupMenu::textColourId, 0xff000000 },
    { "comboList/popupMenu highlighted text", juce::PopupMenu::highlightedTextColourId, 0xffffffff },
    { "comboList/popupMenu highlighted background", juce::PopupMenu::highlightedBackgroundColourId,
      0xb2808080 },
    { "sliderBackgroundColour", juce::Slider::backgroundColourId, 0xffffffff },
    { "sliderTextBoxOutlineColour", juce::Slider::textBoxOutlineColourId, 0xb2808080 },
    { "progressBarBackgroundColour", juce::ProgressBar::backgroundColourId, 0xffffffff },
    { "progressBarForegroundColour", juce::ProgressBar::foregroundColourId, 0xffd3d3d3 },
    { "tooltipBackgroundColour", juce::TooltipWindow::backgroundColourId, 0xffffffff },
    { "tooltipTextColour", juce::TooltipWindow::textColourId, 0xff000000 },
    { "textHighlightColour", juce::TextEditor::highlightColourId, 0x401111ee },
    { "alertBackgroundColour", juce::AlertWindow::backgroundColourId, 0xffededed },
    // Per-component colours the drawing reads from the component; nothing in the system sets them.
    { "combo box button colour", juce::ComboBox::buttonColourId, 0x00000000 },
    { "text editor outline colour", juce::TextEditor::outlineColourId, 0x00000000 },
    { "text editor shadow colour", juce::TextEditor::shadowColourId, 0x38000000 },
    // Parts the framework draws from JUCE's scheme: light, not V4's white-on-dark.
    { "label text", juce::Label::textColourId, 0xff000000 },
    { "text button text", juce::TextButton::textColourOffId, 0xff000000 },
    { "text editor text", juce::TextEditor::textColourId, 0xff000000 },
    { "text editor background", juce::TextEditor::backgroundColourId, 0xffffffff },
    { "alert text", juce::AlertWindow::textColourId, 0xff000000 },
};
} // namespace

TEST (TemplateLookAndFeelPalette, HoldsTheHouseValues)
{
    TemplateLookAndFeel lf;

    for (const auto& entry : paletteEntries)
        EXPECT_EQ (hex (lf.findColour (entry.colourId)), hex (juce::Colour (entry.expected))) << entry.name;

    EXPECT_EQ (lf.controlColour, juce::Colour (0xb2808080));
    EXPECT_EQ (lf.minimiseButtonColour, juce::Colour (0xffeff2f3));
    EXPECT_EQ (lf.maximiseButtonColour, juce::Colour (0xff9299a5));
    EXPECT_EQ (lf.closeButtonColour, juce::Colour (0xff3273a1));
}

TEST (TemplateLookAndFeelPalette, ComponentsWithoutOwnColoursResolveToThePalette)
{
    TemplateLookAndFeel lf;
    juce::ComboBox box;
    box.setLookAndFeel (&lf);
    juce::TextEditor editor;
    editor.setLookAndFeel (&lf);

    EXPECT_EQ (box.findColour (juce::ComboBox::buttonColourId), juce::Colour (0x00000000));
    EXPECT_EQ (editor.findColour (juce::TextEditor::shadowColourId), juce::Colour (0x38000000));

    box.setLookAndFeel (nullptr);
    editor.setLookAndFeel (nullptr);
}

TEST (TemplateLookAndFeelPalette, DeriveBaseColourFollowsFocusHoverAndPress)
{
    struct Case
    {
        const char* name;
        juce::uint32 colour;
        bool focus, over, down;
        juce::uint32 expected;
    };

    const Case cases[] = {
        // A grey has no saturation: only the contrasting overlay changes it, and it raises the alpha.
        { "grey idle", 0xb2808080, false, false, false, 0xb2808080 },
        { "grey focused", 0xb2808080, true, false, false, 0xb2808080 },
        { "grey under the mouse", 0xb2808080, false, true, false, 0xbb6c6c6c },
        { "grey pressed", 0xb2808080, false, false, true, 0xc25d5d5d },
        { "pressed wins over mouse-over", 0xb2808080, false, true, true, 0xc25d5d5d },
        // Saturation: x0.9 without focus, x1.3 with it.
        { "light red idle", 0xffff7e7e, false, false, false, 0xffff8b8b },
        { "light red focused", 0xffff7e7e, true, false, false, 0xffff5757 },
        { "light red pressed", 0xffff7e7e, false, false, true, 0xffcb6e6e },
        // A pure green counts as dark (channel sum 255 < 384), so it is lightened, not darkened.
        { "green under the mouse", 0xff00ff00, true, true, false, 0xff1aff1a },
    };

    for (const auto& c : cases)
        EXPECT_EQ (
            hex (TemplateLookAndFeel::deriveBaseColour (juce::Colour (c.colour), c.focus, c.over, c.down)),
            hex (juce::Colour (c.expected)))
            << c.name;
}

TEST (TemplateLookAndFeelPalette, ComboAndPopupFonts)
{
    TemplateLookAndFeel lf;
    juce::ComboBox box;

    box.setSize (200, 20);
    EXPECT_FLOAT_EQ (lf.getComboBoxFont (box).getHeight(), 15.0f);
    box.setSize (200, 16);
    EXPECT_FLOAT_EQ (lf.getComboBoxFont (box).getHeight(), 13.6f);
    EXPECT_FLOAT_EQ (lf.getPopupMenuFont().getHeight(), 15.0f);
    EXPECT_FALSE (lf.getPopupMenuFont().isBold());
}
