#include "protocol/ImageCheck.h"

#include "protocol/UploadTiming.h"

#include <juce_cryptography/juce_cryptography.h>

namespace
{
juce::String hexByte (juce::uint8 byte)
{
    return "0x" + juce::String::toHexString (byte).paddedLeft ('0', 2).toUpperCase();
}

// Decimal for the person, hex for the hex editor they will open.
juce::String byteOffset (juce::uint32 offset)
{
    return "byte offset " + juce::String (offset) + " (0x" +
           juce::String::toHexString (offset).toUpperCase() + ")";
}

std::vector<juce::uint8> readManufacturerId (const juce::uint8* data, juce::uint32 size)
{
    // F0 id F7 at the least; an id starting with 0x00 has two more bytes.
    if (size < 3 || data[1] >= 0x80)
        return {};

    const juce::uint32 length = data[1] == 0x00 ? 3 : 1;

    for (juce::uint32 i = 1; i <= length; ++i)
        if (i >= size || data[i] >= 0x80)
            return {};

    return { data + 1, data + 1 + length };
}
} // namespace

ImageCheck::Report ImageCheck::check (const juce::String& name, const juce::uint8* data, juce::uint32 size,
                                      std::chrono::milliseconds pauseAfterEachMessage)
{
    Report report;
    report.name = name;
    report.size = size;

    const SysexImageFraming framing (data, size);
    report.fault = framing.getFault();

    if (!framing.isIntact())
        return report;

    report.numMessages = framing.getNumMessages();
    report.manufacturerId = readManufacturerId (data, size);
    report.pauseAfterEachMessage = pauseAfterEachMessage;
    report.wireTime = UploadTiming::wireTime (size) + report.numMessages * pauseAfterEachMessage;
    report.sha256 = juce::SHA256 (data, size).toHexString();
    return report;
}

juce::String ImageCheck::formatReport (const Report& report)
{
    juce::StringArray id;

    for (auto byte : report.manufacturerId)
        id.add (juce::String::toHexString (byte).paddedLeft ('0', 2).toUpperCase());

    juce::String text;
    text << "Image:           " << report.name << "\n"
         << "Size:            " << juce::String (report.size) << " bytes\n"
         << "Framing:         sound (complete SysEx messages back to back)\n"
         << "SysEx messages:  " << report.numMessages << "\n"
         << "Manufacturer ID: "
         << (id.isEmpty() ? juce::String ("none (the first message is too short)") : id.joinIntoString (" "))
         << "\n"
         << "Wire time:       " << UploadTiming::format (report.wireTime) << " at MIDI speed (31250 baud)"
         << (report.pauseAfterEachMessage.count() > 0
                 ? ", with " + juce::String (report.pauseAfterEachMessage.count()) + " ms after each message"
                 : juce::String())
         << "\n"
         << "SHA-256:         " << report.sha256 << "\n";
    return text;
}

juce::String ImageCheck::describeFault (const SysexImageFraming::Fault& fault)
{
    using Kind = SysexImageFraming::FaultKind;
    const auto message = "message " + juce::String (fault.messageNumber);
    const auto from = message + " (from " + byteOffset (fault.messageStart) + ")";

    switch (fault.kind)
    {
        case Kind::empty:
            return "the image is empty";
        case Kind::strayByte:
            return message + " should begin at " + byteOffset (fault.offset) + ", but the byte there is " +
                   hexByte (fault.byte) + ", not 0xF0";
        case Kind::statusByte:
            return from + " holds the status byte " + hexByte (fault.byte) + " at " +
                   byteOffset (fault.offset) + ", before its end byte 0xF7";
        case Kind::unterminated:
            return from + " has no end byte 0xF7: the image ends at " + byteOffset (fault.offset);
        case Kind::messageTooLong:
            return from + " is too long to be sent";
        case Kind::none:
            break;
    }

    return "the image is sound";
}
