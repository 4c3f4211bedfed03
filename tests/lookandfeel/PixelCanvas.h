#pragma once

#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include "lookandfeel/TemplateLookAndFeel.h"

#include <cstdlib>
#include <memory>

// An ARGB image with a Graphics context on it, for painting look-and-feel operations headlessly and
// reading back exact pixels.
struct PixelCanvas
{
    juce::Image image;
    std::unique_ptr<juce::Graphics> g;

    PixelCanvas (int width, int height, juce::Colour background = juce::Colours::transparentBlack)
        : image (juce::Image::ARGB, width, height, true), g (std::make_unique<juce::Graphics> (image))
    {
        if (!background.isTransparent())
            g->fillAll (background);
    }

    juce::Colour at (int x, int y) const { return image.getPixelAt (x, y); }

    bool isEmpty() const
    {
        for (int y = 0; y < image.getHeight(); ++y)
            for (int x = 0; x < image.getWidth(); ++x)
                if (image.getPixelAt (x, y).getAlpha() != 0)
                    return false;
        return true;
    }

    int count (juce::Colour colour) const
    {
        int n = 0;
        for (int y = 0; y < image.getHeight(); ++y)
            for (int x = 0; x < image.getWidth(); ++x)
                if (image.getPixelAt (x, y) == colour)
                    ++n;
        return n;
    }

    // Bounding box of the pixels that differ from `background` by more than `tolerance` in a channel.
    juce::Rectangle<int> boundsOfPixelsNot (juce::Colour background, int tolerance,
                                            juce::Rectangle<int> area) const
    {
        juce::Rectangle<int> bounds;
        bool found = false;

        for (int y = area.getY(); y < area.getBottom(); ++y)
            for (int x = area.getX(); x < area.getRight(); ++x)
            {
                const auto c = image.getPixelAt (x, y);
                if (std::abs (c.getRed() - background.getRed()) > tolerance ||
                    std::abs (c.getGreen() - background.getGreen()) > tolerance ||
                    std::abs (c.getBlue() - background.getBlue()) > tolerance ||
                    std::abs (c.getAlpha() - background.getAlpha()) > tolerance)
                {
                    const juce::Rectangle<int> pixel (x, y, 1, 1);
                    bounds = found ? bounds.getUnion (pixel) : pixel;
                    found = true;
                }
            }

        return bounds;
    }
};

inline std::string hex (juce::Colour c)
{
    return ("0x" + juce::String::toHexString ((int)c.getARGB()).paddedLeft ('0', 8)).toStdString();
}

// True when every channel (alpha included) is within `tolerance`; gradients are sampled through a
// lookup table, so pixels on a gradient stop may be a step off.
inline ::testing::AssertionResult coloursNear (juce::Colour actual, juce::Colour expected, int tolerance)
{
    const bool near = std::abs (actual.getRed() - expected.getRed()) <= tolerance &&
                      std::abs (actual.getGreen() - expected.getGreen()) <= tolerance &&
                      std::abs (actual.getBlue() - expected.getBlue()) <= tolerance &&
                      std::abs (actual.getAlpha() - expected.getAlpha()) <= tolerance;
    if (near)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << hex (actual) << " is not within " << tolerance << " of " << hex (expected);
}

inline int brightness (juce::Colour c)
{
    return c.getRed() + c.getGreen() + c.getBlue();
}

// The look-and-feel installed as the default, with the typeface fixed so that text pixels do not move
// with the fonts installed on the machine.
struct InstalledLookAndFeel
{
    TemplateLookAndFeel lf;

    InstalledLookAndFeel()
    {
        lf.setDefaultSansSerifTypefaceName ("DejaVu Sans");
        juce::LookAndFeel::setDefaultLookAndFeel (&lf);
    }

    ~InstalledLookAndFeel() { juce::LookAndFeel::setDefaultLookAndFeel (nullptr); }
};
