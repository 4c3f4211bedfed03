#include "lookandfeel/TemplateLookAndFeel.h"

#include "PixelCanvas.h"

#include <functional>
#include <gtest/gtest.h>

namespace
{
using Draw = std::function<void (juce::Graphics&)>;

struct NothingCase
{
    const char* name;
    Draw draw;
};

// Shapes too small for their outline, or fully transparent, must leave no trace at all.
const NothingCase drawsNothing[] = {
    { "capsule as wide as its outline",
      [] (juce::Graphics& g)
      {
          TemplateLookAndFeel::drawGlassCapsule (g, 2, 2, 1.0f, 20, juce::Colours::red, 1.0f, false, false,
                                                 false, false);
      } },
    { "capsule as high as its outline",
      [] (juce::Graphics& g)
      {
          TemplateLookAndFeel::drawGlassCapsule (g, 2, 2, 60, 0.5f, juce::Colours::red, 0.5f, false, false,
                                                 false, false);
      } },
    { "capsule in a fully transparent colour",
      [] (juce::Graphics& g)
      {
          TemplateLookAndFeel::drawGlassCapsule (g, 2, 2, 60, 20, juce::Colours::red.withAlpha (0.0f), 1.0f,
                                                 false, false, false, false);
      } },
    { "orb whose outline reaches its diameter",
      [] (juce::Graphics& g)
      {
          TemplateLookAndFeel::drawGlassOrb (g, 2, 2, 3.0f, juce::Colours::red, 3.0f);
      } },
    { "gloss bar of width 0",
      [] (juce::Graphics& g)
      {
          TemplateLookAndFeel::drawGlossBar (g, 10, 2, 0.0f, 20, 0.0f, juce::Colours::white, 0.9f, true, true,
                                             true, true);
      } },
    { "gloss bar not wider than 1.1 x its stroke",
      [] (juce::Graphics& g)
      {
          TemplateLookAndFeel::drawGlossBar (g, 10, 2, 1.1f, 20, 0.0f, juce::Colours::white, 1.0f, false,
                                             false, false, false);
      } },
};

struct Flags
{
    bool left, right, top, bottom;
};

enum class Relation
{
    empty,     // nothing drawn
    drawn,     // something drawn
    sameAs,    // equal (within a gradient step) to the reference pixel
    darkerThan // clearly darker than the reference pixel
};

struct Probe
{
    const char* what;
    int x, y;
    Relation relation;
    int refX = 0, refY = 0;
};

struct CapsuleCase
{
    const char* name;
    Flags flags;
    std::vector<Probe> probes;
};
} // namespace

TEST (GlassShapes, DegenerateShapesDrawNothing)
{
    for (const auto& c : drawsNothing)
    {
        PixelCanvas canvas (80, 30);
        c.draw (*canvas.g);
        EXPECT_TRUE (canvas.isEmpty()) << c.name;
    }
}

TEST (GlassShapes, CapsuleEndsCornersAndHighlight)
{
    const CapsuleCase cases[] = {
        { "rounded all round",
          { false, false, false, false },
          {
              { "rounded top-left corner", 0, 0, Relation::empty },
              { "rounded bottom-right corner", 99, 19, Relation::empty },
              { "left end shaded within cs / 2 of the end", 2, 10, Relation::darkerThan, 50, 10 },
              { "left end shading stops cs / 2 in", 6, 10, Relation::sameAs, 50, 10 },
              { "right end shaded", 97, 10, Relation::darkerThan, 50, 10 },
              { "right end shading stops cs / 2 in", 93, 10, Relation::sameAs, 50, 10 },
              // Without the clip to the end, the radial fill would darken everything beyond its radius.
              { "left end shade clipped to its end", 25, 2, Relation::sameAs, 50, 2 },
              { "right end shade clipped to its end", 75, 2, Relation::sameAs, 50, 2 },
              { "highlight starts at y + 1", 50, 1, Relation::drawn },
              { "highlight is bright over the dark body", 50, 14, Relation::darkerThan, 50, 1 },
          } },
        { "flat on all sides: a plain rectangle",
          { true, true, true, true },
          {
              { "square top-left corner", 0, 0, Relation::drawn },
              { "square bottom-right corner", 99, 19, Relation::drawn },
              { "no left end shading", 1, 10, Relation::sameAs, 50, 10 },
              { "no right end shading", 98, 10, Relation::sameAs, 50, 10 },
              { "highlight spans the full width", 1, 2, Relation::sameAs, 50, 2 },
          } },
        { "flat top only",
          { false, false, true, false },
          {
              { "square top corners", 0, 0, Relation::drawn },
              { "rounded bottom corners", 0, 19, Relation::empty },
              { "no end shading on either end", 2, 10, Relation::sameAs, 50, 10 },
              { "highlight keeps its side indent", 1, 2, Relation::darkerThan, 50, 2 },
          } },
        { "joined on the left",
          { true, false, false, false },
          {
              { "square left corners", 0, 0, Relation::drawn },
              { "rounded right corners", 99, 0, Relation::empty },
              { "no left end shading", 2, 10, Relation::sameAs, 50, 10 },
              { "right end shaded", 97, 10, Relation::darkerThan, 50, 10 },
          } },
    };

    for (const auto& c : cases)
    {
        PixelCanvas canvas (104, 24);
        TemplateLookAndFeel::drawGlassCapsule (*canvas.g, 0, 0, 100, 20, juce::Colour (0xff2040a0), 1.0f,
                                               c.flags.left, c.flags.right, c.flags.top, c.flags.bottom);

        for (const auto& p : c.probes)
        {
            const auto pixel = canvas.at (p.x, p.y);
            const auto reference = canvas.at (p.refX, p.refY);
            SCOPED_TRACE (std::string (c.name) + ": " + p.what);

            switch (p.relation)
            {
                case Relation::empty:
                    EXPECT_EQ (pixel.getAlpha(), 0) << hex (pixel);
                    break;
                case Relation::drawn:
                    EXPECT_GT (pixel.getAlpha(), 0);
                    break;
                case Relation::sameAs:
                    EXPECT_TRUE (coloursNear (pixel, reference, 2));
                    break;
                case Relation::darkerThan:
                    EXPECT_LT (brightness (pixel) + 15, brightness (reference))
                        << hex (pixel) << " vs " << hex (reference);
                    break;
            }
        }
    }
}

TEST (GlassShapes, OrbBodyTakesTheColourOverWhite)
{
    struct Case
    {
        const char* name;
        juce::uint32 colour;
        juce::uint32 bodyAtFourTenths;
    };

    // At 0.4 of the diameter the body is the colour over white, with no highlight or rim shade on it.
    const Case cases[] = {
        { "translucent grey", 0xb2808080, 0xffa6a6a6 },
        { "opaque red", 0xffff0000, 0xffff0000 },
        // Rim and outline scale with the colour's alpha; body and highlight stay an opaque white disc.
        { "fully transparent", 0x00ff0000, 0xffffffff },
    };

    for (const auto& c : cases)
    {
        PixelCanvas canvas (40, 40);
        TemplateLookAndFeel::drawGlassOrb (*canvas.g, 4, 4, 30, juce::Colour (c.colour), 1.0f);

        SCOPED_TRACE (c.name);
        EXPECT_TRUE (coloursNear (canvas.at (18, 16), juce::Colour (c.bodyAtFourTenths), 2));
        EXPECT_EQ (canvas.at (1, 1).getAlpha(), 0);
        EXPECT_EQ (canvas.at (19, 2).getAlpha(), 0) << "outside the orb";
        EXPECT_EQ (canvas.at (19, 5).getAlpha(), 255) << "the disc is opaque";
    }
}

TEST (GlassShapes, GlossBarHasAHardLightLineAcrossItsMiddle)
{
    struct Case
    {
        const char* name;
        float maxCornerSize;
        Flags flags;
        bool squareTopLeft;
    };

    const Case cases[] = {
        { "corner size 0, no flags", 0.0f, { false, false, false, false }, true },
        { "corner size 8, no flags", 8.0f, { false, false, false, false }, false },
        { "corner size 8, flat on all sides", 8.0f, { true, true, true, true }, true },
    };

    for (const auto& c : cases)
    {
        PixelCanvas canvas (104, 24);
        TemplateLookAndFeel::drawGlossBar (*canvas.g, 0, 0, 100, 20, c.maxCornerSize, juce::Colours::white,
                                           1.0f, c.flags.left, c.flags.right, c.flags.top, c.flags.bottom);
        SCOPED_TRACE (c.name);

        // White above the middle, a blue tint from just below it.
        EXPECT_TRUE (coloursNear (canvas.at (50, 9), juce::Colours::white, 1));
        const auto below = canvas.at (50, 10);
        EXPECT_EQ (below.getBlue(), 255);
        EXPECT_LT (below.getRed(), 245) << hex (below);
        // The outline: half-transparent black along the top edge.
        EXPECT_LT (brightness (canvas.at (50, 0)), 3 * 200);

        if (c.squareTopLeft)
            EXPECT_GT (canvas.at (0, 0).getAlpha(), 0);
        else
            EXPECT_EQ (canvas.at (0, 0).getAlpha(), 0);
    }
}
