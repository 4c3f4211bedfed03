#include "help/HelpText.h"
#include "help/VexaHelpWindowClass.h"
#include "help/VexaHelpWindowContentComp.h"
#include "lookandfeel/WindowColours.h"
#include "lookandfeel/WindowSizes.h"

#include <gtest/gtest.h>

namespace
{
juce::TextEditor* findEditor (juce::Component& parent)
{
    for (auto* child : parent.getChildren())
        if (auto* editor = dynamic_cast<juce::TextEditor*> (child))
            return editor;
    return nullptr;
}

// The procedure, word for word, then what to do when an update stops.
juce::String windowText()
{
    return juce::String (helpText) + ifTheUpdateStopsText;
}

int scrollPosition (juce::TextEditor& editor)
{
    for (auto* child : editor.getChildren())
        if (auto* viewport = dynamic_cast<juce::Viewport*> (child))
            return viewport->getViewPositionY();
    return -1;
}
} // namespace

TEST (HelpText, IsTheWholeProcedureWithItsLineEndsAndQuotes)
{
    const juce::String text (helpText);

    EXPECT_EQ (text.length(), 1019);
    EXPECT_TRUE (text.startsWith ("Firmware Update Procedure. \nThe procedure requires a PC or Mac"));
    EXPECT_TRUE (text.contains ("power supply. \n\nDo following steps before you start"));
    EXPECT_TRUE (text.contains (" 7. Release the footswitch. \n\nNow your PC or Mac will recognize"));
    EXPECT_TRUE (text.contains ("\n 9. (STEP1) Select the pedal in the combo box (see note). \n10. (STEP2)"));
    EXPECT_TRUE (
        text.contains ("Note: You should select \"USB Audio Device\", if you use Windows XP.\n\n\nTrouble"));
    EXPECT_TRUE (text.endsWith (
        "Trouble Shooting:\n - Please quit any MIDI related application on your PC or Mac.\n"));
    EXPECT_EQ (text.indexOf ("\r"), -1);
}

TEST (HelpText, SaysWhatToDoWhenTheUpdateStops)
{
    const juce::String text (ifTheUpdateStopsText);

    // A paragraph of its own after the trouble-shooting line.
    EXPECT_TRUE (text.startsWith ("\nIf the update stops:\n"));
    EXPECT_TRUE (text.contains ("in its update mode again (steps 1 to 7), choose it under STEP1"));
    EXPECT_TRUE (text.contains ("--pause 100"));
    EXPECT_TRUE (text.endsWithChar ('\n'));
}

// The content alone needs no display.
TEST (HelpWindowContent, ReadOnlyWrappedEditorFillsTheContent)
{
    VexaHelpWindowContentComp content;
    content.setSize (300, 200);

    auto* editor = findEditor (content);
    ASSERT_NE (editor, nullptr);
    EXPECT_TRUE (editor->isVisible());
    EXPECT_EQ (editor->getBounds(), juce::Rectangle<int> (0, 0, 300, 200));
    EXPECT_TRUE (editor->isMultiLine());
    EXPECT_TRUE (editor->isReadOnly());
    EXPECT_EQ (editor->getText(), windowText());

    // Long lines wrap at the editor's width instead of scrolling sideways.
    EXPECT_LE (editor->getTextWidth(), 300);
    EXPECT_GT (editor->getTextHeight(), 25 * 14);

    // Typing and pasting change nothing.
    editor->setCaretPosition (0);
    EXPECT_FALSE (editor->keyPressed (juce::KeyPress ('x', {}, 'x')));
    EXPECT_FALSE (editor->keyPressed (juce::KeyPress (juce::KeyPress::deleteKey)));
    juce::SystemClipboard::copyTextToClipboard ("pasted");
    editor->paste();
    EXPECT_EQ (editor->getText(), windowText());
}

TEST (HelpWindow, StartsHiddenOnTheDesktopWithItsTitleColoursAndButtons)
{
    VexaHelpWindowClass window;

    EXPECT_EQ (window.getName(), "Firmware Update Help");
    EXPECT_FALSE (window.isVisible());
    EXPECT_TRUE (window.isOnDesktop());
    EXPECT_EQ (window.getBackgroundColour(), juce::Colour (0xffeff2f3));
    EXPECT_EQ (window.findColour (WindowColours::titleBarColourId), juce::Colour (0xff3273a1));
    EXPECT_NE (window.getCloseButton(), nullptr);
    EXPECT_NE (window.getMinimiseButton(), nullptr);
    EXPECT_NE (window.getMaximiseButton(), nullptr);

    // Resizable by its border only.
    EXPECT_TRUE (window.isResizable());
    int borders = 0, corners = 0;
    for (auto* child : window.getChildren())
    {
        borders += dynamic_cast<juce::ResizableBorderComponent*> (child) != nullptr ? 1 : 0;
        corners += dynamic_cast<juce::ResizableCornerComponent*> (child) != nullptr ? 1 : 0;
    }
    EXPECT_EQ (borders, 1);
    EXPECT_EQ (corners, 0);

    auto* content = dynamic_cast<VexaHelpWindowContentComp*> (window.getContentComponent());
    ASSERT_NE (content, nullptr);
    ASSERT_NE (findEditor (*content), nullptr);
    EXPECT_EQ (findEditor (*content)->getText(), windowText());
}

TEST (HelpWindow, CloseButtonOnlyHidesItAndKeepsTheScrollPosition)
{
    VexaHelpWindowClass window;
    window.centreWithSize (WindowSizes::helpWidth, WindowSizes::helpHeight);
    window.setVisible (true);

    auto* editor = findEditor (*window.getContentComponent());
    ASSERT_NE (editor, nullptr);
    editor->setCaretPosition (windowText().length());
    const auto scrolledTo = scrollPosition (*editor);
    EXPECT_GT (scrolledTo, 0);

    window.getCloseButton()->triggerClick();
    // The click is delivered through the message queue: wait for it (slow under Wine).
    for (int waited = 0; window.isVisible() && waited < 5000; waited += 10)
        juce::MessageManager::getInstance()->runDispatchLoopUntil (10);

    EXPECT_FALSE (window.isVisible());
    EXPECT_TRUE (window.isOnDesktop());
    EXPECT_EQ (window.getContentComponent(), editor->getParentComponent());

    window.setVisible (true);
    EXPECT_TRUE (window.isVisible());
    EXPECT_EQ (scrollPosition (*editor), scrolledTo);
    EXPECT_EQ (editor->getText(), windowText());
}
