#pragma once

#include <juce_core/juce_core.h>

#include <vector>

// SysEx images for tests, and their messages.

// Complete SysEx messages of the given lengths (each at least 2: F0 ... F7). The data bytes begin
// with the message's number (its low, then its high 7 bits) and go on with a fixed pseudo-random
// 7-bit sequence, so that no two messages are alike: a lost, repeated or reordered message shows
// in a comparison.
std::vector<juce::uint8> makeSysexImage (const std::vector<int>& messageLengths);

// count messages of length bytes each, as above.
std::vector<juce::uint8> makeSysexImage (int count, int length);

// The messages of an image, each up to and including its F7, as the upload splits it; bytes after
// the last F7 make a last, unfinished message.
std::vector<std::vector<juce::uint8>> splitSysexMessages (const juce::uint8* data, size_t size);
std::vector<std::vector<juce::uint8>> splitSysexMessages (const std::vector<juce::uint8>& image);

// The bytes of the firmware image compiled into the application.
std::vector<juce::uint8> builtInImageBytes();
