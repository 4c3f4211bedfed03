#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The named palette entries of TemplateLookAndFeel and the framework colour ids that hold them. The
// combo box's drop-down list is a popup menu in this framework, so its entries share the popup-menu
// ids (with equal values).
namespace TemplatePalette
{
constexpr int focusOutlineColour = juce::TextEditor::focusedOutlineColourId;
constexpr int scrollbarBackgroundColour = juce::ScrollBar::backgroundColourId;
constexpr int scrollbarThumbColour = juce::ScrollBar::thumbColourId;
constexpr int comboBoxBackgroundColour = juce::ComboBox::backgroundColourId;
constexpr int comboBoxTextColour = juce::ComboBox::textColourId;
constexpr int comboBoxOutlineColour = juce::ComboBox::outlineColourId;
constexpr int comboListBackgroundColour = juce::PopupMenu::backgroundColourId;
constexpr int comboListTextColour = juce::PopupMenu::textColourId;
constexpr int comboListHighlightedTextColour = juce::PopupMenu::highlightedTextColourId;
constexpr int comboListHighlightedBackgroundColour = juce::PopupMenu::highlightedBackgroundColourId;
constexpr int popupMenuBackgroundColour = juce::PopupMenu::backgroundColourId;
constexpr int popupMenuTextColour = juce::PopupMenu::textColourId;
constexpr int popupMenuHighlightedTextColour = juce::PopupMenu::highlightedTextColourId;
constexpr int popupMenuHighlightedBackgroundColour = juce::PopupMenu::highlightedBackgroundColourId;
constexpr int sliderBackgroundColour = juce::Slider::backgroundColourId;
constexpr int sliderTextBoxOutlineColour = juce::Slider::textBoxOutlineColourId;
constexpr int progressBarBackgroundColour = juce::ProgressBar::backgroundColourId;
constexpr int progressBarForegroundColour = juce::ProgressBar::foregroundColourId;
constexpr int textHighlightColour = juce::TextEditor::highlightColourId;
constexpr int alertBackgroundColour = juce::AlertWindow::backgroundColourId;
constexpr int tooltipBackgroundColour = juce::TooltipWindow::backgroundColourId;
constexpr int tooltipTextColour = juce::TooltipWindow::textColourId;
} // namespace TemplatePalette
