#pragma once

#include <juce_core/juce_core.h>

#include <vector>

// A new folder below the system's temporary folder, deleted with all it holds when the object goes.
class TempFolder final
{
public:
    TempFolder();
    ~TempFolder();

    TempFolder (const TempFolder&) = delete;
    TempFolder& operator= (const TempFolder&) = delete;

    const juce::File& getFolder() const { return folder; }

    // A file below the folder, where nothing is yet (it stays there until the folder goes).
    juce::File getFile (const juce::String& relativePath) const { return folder.getChildFile (relativePath); }

    // Writes the bytes to the file at relativePath, creating the folders on the way, and returns
    // the file; no bytes make an empty file.
    juce::File write (const juce::String& relativePath, const void* data, size_t size) const;
    juce::File write (const juce::String& relativePath, const std::vector<juce::uint8>& bytes) const;

private:
    const juce::File folder;
};
