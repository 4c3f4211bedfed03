#include "support/TempFolder.h"

// A folder or file that cannot be made trips an assertion, which fails the test (the suite's
// failure pattern includes JUCE's assertion report).
TempFolder::TempFolder()
    : folder (juce::File::getSpecialLocation (juce::File::tempDirectory)
                  .getNonexistentChildFile ("quillon-test-" + juce::Uuid().toString(), {}))
{
    const auto created = folder.createDirectory();
    jassertquiet (created.wasOk());
}

TempFolder::~TempFolder()
{
    folder.deleteRecursively();
}

juce::File TempFolder::write (const juce::String& relativePath, const void* data, size_t size) const
{
    auto file = folder.getChildFile (relativePath);
    const auto folderMade = file.getParentDirectory().createDirectory();
    jassertquiet (folderMade.wasOk());
    // replaceWithData deletes the file for no bytes.
    const bool written = size == 0 ? file.create().wasOk() : file.replaceWithData (data, size);
    jassertquiet (written);
    return file;
}

juce::File TempFolder::write (const juce::String& relativePath, const std::vector<juce::uint8>& bytes) const
{
    return write (relativePath, bytes.data(), bytes.size());
}
