// Document-window title bar and its glass buttons.
#include "lookandfeel/TemplateLookAndFeel.h"

#include "lookandfeel/GlassWindowButton.h"
#include "lookandfeel/WindowColours.h"

void TemplateLookAndFeel::drawDocumentWindowTitleBar (juce::DocumentWindow& window, juce::Graphics& g, int w,
                                                      int h, int titleSpaceX, int titleSpaceW,
                                                      const juce::Image* icon, bool drawTitleTextOnLeft)
{
    const bool isActive = window.isActiveWindow();
    const auto background = window.findColour (juce::ResizableWindow::backgroundColourId);

    // The same gradient whether or not the window is active; only the title text changes.
    g.setGradientFill (juce::ColourGradient (window.findColour (WindowColours::titleBarColourId), 0.0f, 0.0f,
                                             background, 0.0f, (float)h, false));
    g.fillAll();

    const juce::Font font ((float)h * 0.65f, juce::Font::bold);
    g.setFont (font);

    int textW = font.getStringWidth (window.getName());
    int iconW = 0;
    int iconH = 0;

    if (icon != nullptr)
    {
        iconH = (int)font.getHeight();
        iconW = icon->getWidth() * iconH / icon->getHeight() + 4;
    }

    textW = juce::jmin (titleSpaceW, textW + iconW);
    int textX = drawTitleTextOnLeft ? titleSpaceX : juce::jmax (titleSpaceX, (w - textW) / 2);

    if (textX + textW > titleSpaceX + titleSpaceW)
        textX = titleSpaceX + titleSpaceW - textW;

    if (icon != nullptr)
    {
        g.setOpacity (isActive ? 1.0f : 0.6f);
        g.drawImageWithin (*icon, textX, (h - iconH) / 2, iconW, iconH, juce::RectanglePlacement::centred,
                           false);
        textX += iconW;
        textW -= iconW;
    }

    g.setColour (contrasting (background, isActive ? 0.7f : 0.4f));
    g.drawText (window.getName(), textX, 0, textW, h, juce::Justification::centredLeft, true);
}

// "::GlassWindowButton" below: LookAndFeel_V2 has a private nested class of the same name.
juce::Button* TemplateLookAndFeel::createDocumentWindowButton (int buttonType)
{
    constexpr float barThickness = 0.25f;

    if (buttonType == juce::DocumentWindow::minimiseButton)
    {
        juce::Path shape;
        shape.addLineSegment ({ 0.0f, 0.5f, 1.0f, 0.5f }, barThickness);
        return new ::GlassWindowButton ("minimise", minimiseButtonColour, shape, shape);
    }

    if (buttonType == juce::DocumentWindow::maximiseButton)
    {
        juce::Path shape;
        shape.addLineSegment ({ 0.5f, 0.0f, 0.5f, 1.0f }, barThickness);
        shape.addLineSegment ({ 0.0f, 0.5f, 1.0f, 0.5f }, barThickness);

        // Two overlapping frames, shown while the window is full screen.
        juce::Path fullscreenShape;
        fullscreenShape.startNewSubPath (45.0f, 100.0f);
        fullscreenShape.lineTo (0.0f, 100.0f);
        fullscreenShape.lineTo (0.0f, 0.0f);
        fullscreenShape.lineTo (100.0f, 0.0f);
        fullscreenShape.lineTo (100.0f, 45.0f);
        fullscreenShape.addRectangle (45.0f, 45.0f, 100.0f, 100.0f);
        juce::PathStrokeType (30.0f, juce::PathStrokeType::mitered, juce::PathStrokeType::butt)
            .createStrokedPath (fullscreenShape, fullscreenShape);

        return new ::GlassWindowButton ("maximise", maximiseButtonColour, shape, fullscreenShape);
    }

    if (buttonType == juce::DocumentWindow::closeButton)
    {
        juce::Path shape;
        shape.addLineSegment ({ 0.0f, 0.0f, 1.0f, 1.0f }, barThickness * 1.4f);
        shape.addLineSegment ({ 1.0f, 0.0f, 0.0f, 1.0f }, barThickness * 1.4f);
        return new ::GlassWindowButton ("close", closeButtonColour, shape, shape);
    }

    return nullptr;
}

void TemplateLookAndFeel::positionDocumentWindowButtons (juce::DocumentWindow&, int titleBarX, int titleBarY,
                                                         int titleBarW, int titleBarH,
                                                         juce::Button* minimiseButton,
                                                         juce::Button* maximiseButton,
                                                         juce::Button* closeButton,
                                                         bool positionTitleBarButtonsOnLeft)
{
    const bool onLeft = positionTitleBarButtonsOnLeft;
    const int buttonW = titleBarH - titleBarH / 8;
    int x = onLeft ? titleBarX + 4 : titleBarX + titleBarW - buttonW - buttonW / 4;

    if (closeButton != nullptr)
    {
        closeButton->setBounds (x, titleBarY, buttonW, titleBarH);
        x += onLeft ? buttonW : -(buttonW + buttonW / 4);
    }

    // On the left the order from the edge is close, minimise, maximise.
    if (onLeft)
        std::swap (minimiseButton, maximiseButton);

    if (maximiseButton != nullptr)
    {
        maximiseButton->setBounds (x, titleBarY, buttonW, titleBarH);
        x += onLeft ? buttonW : -buttonW;
    }

    if (minimiseButton != nullptr)
        minimiseButton->setBounds (x, titleBarY, buttonW, titleBarH);
}
