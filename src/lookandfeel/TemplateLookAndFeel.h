#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The house style: light, glassy controls drawn from a base colour that follows focus, mouse-over and
// press, white backgrounds, translucent grey outlines, and blue/grey glass title-bar buttons.
//
// The palette lives in the framework's colour ids (set once in the constructor, so the framework's
// own drawing of labels, menu items, tooltips and alert boxes picks it up too). The colours that have
// no framework id are the const members below.
class TemplateLookAndFeel final : public juce::LookAndFeel_V4
{
public:
    TemplateLookAndFeel();
    ~TemplateLookAndFeel() override;

    // Palette entries without a framework colour id; constant after construction.
    const juce::Colour controlColour { 0xb2808080 };
    const juce::Colour minimiseButtonColour { 0xffeff2f3 };
    const juce::Colour maximiseButtonColour { 0xff9299a5 };
    const juce::Colour closeButtonColour { 0xff3273a1 };

    // The colour of a control for its state: saturation up with keyboard focus, down without; a
    // contrasting overlay of 0.2 while pressed, else 0.1 under the mouse.
    static juce::Colour deriveBaseColour (const juce::Colour& colour, bool hasKeyboardFocus,
                                          bool isMouseOverButton, bool isButtonDown);

    // Glass shapes shared by the drawing operations and by GlassWindowButton.
    static void buildRoundedOutline (juce::Path& path, float x, float y, float w, float h, float cornerSize,
                                     bool roundTopLeft, bool roundTopRight, bool roundBottomLeft,
                                     bool roundBottomRight);
    static void drawGlossBar (juce::Graphics& g, float x, float y, float w, float h, float maxCornerSize,
                              juce::Colour baseColour, float strokeWidth, bool flatLeft, bool flatRight,
                              bool flatTop, bool flatBottom);
    static void drawGlassOrb (juce::Graphics& g, float x, float y, float diameter, juce::Colour colour,
                              float outlineThickness);
    static void drawGlassCapsule (juce::Graphics& g, float x, float y, float width, float height,
                                  juce::Colour colour, float outlineThickness, bool flatLeft, bool flatRight,
                                  bool flatTop, bool flatBottom);

    //==============================================================================================
    // Buttons, tick boxes, combo boxes, text-editor outlines
    void drawButtonBackground (juce::Graphics&, juce::Button&, const juce::Colour& backgroundColour,
                               bool isMouseOverButton, bool isButtonDown) override;
    void drawTickBox (juce::Graphics&, juce::Component&, float x, float y, float w, float h, bool ticked,
                      bool isEnabled, bool isMouseOverButton, bool isButtonDown) override;
    void drawTextEditorOutline (juce::Graphics&, int width, int height, juce::TextEditor&) override;
    void drawComboBox (juce::Graphics&, int width, int height, bool isButtonDown, int buttonX, int buttonY,
                       int buttonW, int buttonH, juce::ComboBox&) override;
    // Background of a combo box's drop-down list (which the framework shows as a popup menu whose
    // target component is the combo box).
    void drawComboBoxListBackground (juce::Graphics&, int width, int height);
    juce::Font getComboBoxFont (juce::ComboBox&) override;
    juce::Font getPopupMenuFont() override;

    //==============================================================================================
    // Scroll bars and sliders
    bool areScrollbarButtonsVisible() override;
    int getDefaultScrollbarWidth() override;
    void drawScrollbarButton (juce::Graphics&, juce::ScrollBar&, int width, int height, int buttonDirection,
                              bool isScrollbarVertical, bool isMouseOverButton, bool isButtonDown) override;
    void drawScrollbar (juce::Graphics&, juce::ScrollBar&, int x, int y, int width, int height,
                        bool isScrollbarVertical, int thumbStartPosition, int thumbSize, bool isMouseOver,
                        bool isMouseDown) override;
    juce::ImageEffectFilter* getScrollbarEffect() override;
    void drawLinearSlider (juce::Graphics&, int x, int y, int width, int height, float sliderPos,
                           float minSliderPos, float maxSliderPos, juce::Slider::SliderStyle,
                           juce::Slider&) override;
    int getSliderThumbRadius (juce::Slider&) override;
    juce::Button* createSliderButton (juce::Slider&, bool isIncrement) override;
    juce::ImageEffectFilter* getSliderEffect (juce::Slider&) override;

    //==============================================================================================
    // Progress bar, menus, corner resizer
    void drawProgressBar (juce::Graphics&, juce::ProgressBar&, int width, int height, double progress,
                          const juce::String& textToShow) override;
    void drawPopupMenuBackground (juce::Graphics&, int width, int height) override;
    void drawPopupMenuBackgroundWithOptions (juce::Graphics&, int width, int height,
                                             const juce::PopupMenu::Options&) override;
    void drawMenuBarBackground (juce::Graphics&, int width, int height, bool isMouseOverBar,
                                juce::MenuBarComponent&) override;
    void drawCornerResizer (juce::Graphics&, int w, int h, bool isMouseOver, bool isMouseDragging) override;

    //==============================================================================================
    // Document window title bar
    void drawDocumentWindowTitleBar (juce::DocumentWindow&, juce::Graphics&, int w, int h, int titleSpaceX,
                                     int titleSpaceW, const juce::Image* icon,
                                     bool drawTitleTextOnLeft) override;
    juce::Button* createDocumentWindowButton (int buttonType) override;
    void positionDocumentWindowButtons (juce::DocumentWindow&, int titleBarX, int titleBarY, int titleBarW,
                                        int titleBarH, juce::Button* minimiseButton,
                                        juce::Button* maximiseButton, juce::Button* closeButton,
                                        bool positionTitleBarButtonsOnLeft) override;

private:
    // Overlays black at `amount` on a light colour (red + green + blue >= 384), white on a dark one.
    static juce::Colour contrasting (juce::Colour colour, float amount);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TemplateLookAndFeel)
};
