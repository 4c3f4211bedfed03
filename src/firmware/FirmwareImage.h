#pragma once

#include <juce_core/juce_core.h>

#include <cstdint>

// A SysEx firmware image: complete SysEx messages (F0 ... F7) stored back to back, with the values
// shown to the user. The base does not own the bytes; the kinds below decide where they live.
// Holders own an image through this type, so the destructor is virtual.
class FirmwareImage
{
public:
    FirmwareImage (const juce::String& productName, const juce::String& firmwareVersion, int revision);
    virtual ~FirmwareImage();

    // First byte of the image, or null while the image is empty.
    const std::uint8_t* getData() const noexcept { return data; }
    // Number of bytes in the image (its lower 32 bits; images never come near 4 GiB).
    std::uint32_t getSize() const noexcept { return static_cast<std::uint32_t> (size); }

    juce::String getProductName() const { return productName; }
    void setProductName (const juce::String& name) { productName = name; }
    juce::String getFirmwareVersion() const { return firmwareVersion; }
    // 0 means that the firmware has no revision number.
    int getRevision() const noexcept { return revision; }
    // The version as the user sees it everywhere: "<version>", then " - R<revision>" unless the
    // revision is 0.
    juce::String getVersionText() const;

protected:
    const std::uint8_t* data = nullptr;
    std::int64_t size = 0;

private:
    juce::String productName;
    juce::String firmwareVersion;
    int revision = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FirmwareImage)
};
