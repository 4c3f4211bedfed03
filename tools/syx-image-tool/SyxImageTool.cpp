// Build-time tool for the firmware image compiled into Quillon.
//
//   syx-image-tool generate OUT.syx       writes the synthetic built-in image (deterministic)
//   syx-image-tool check IN.syx           checks the SysEx framing of IN
//   syx-image-tool embed IN.syx OUT.cpp   checks IN, then writes it as constant C++ data
//
// Layout of the synthetic image (236024 bytes, 396 messages). Every message begins with the same
// six bytes: F0, the manufacturer id 00 7F 7F (a made-up id, not assigned to anyone), the model
// byte 51 and the format byte 01.
//
//   begin  (9 bytes)    F0 00 7F 7F 51 01 | 10 00                                          | F7
//   block  (599 bytes)  F0 00 7F 7F 51 01 | 20 n1 n0 a3 a2 a1 a0 payload[584] checksum     | F7
//   end    (9 bytes)    F0 00 7F 7F 51 01 | 30 sum                                         | F7
//
// 394 blocks, numbered 0..393 (n1 n0: 7 bits each, high first). a3..a0 is the offset of the
// block's bytes in the firmware, 7 bits each, high first. The payload carries 511 firmware bytes
// packed into 7-bit MIDI bytes: per group of 7 bytes one byte with their top bits (bit i = top
// bit of byte i), then the 7 bytes' low 7 bits; 73 groups. The checksum makes the sum of the
// bytes from 20 to the checksum a multiple of 128. `sum` in the end message is the sum of all
// firmware bytes modulo 128. The firmware bytes themselves are pseudo-random (xorshift32 with a
// fixed seed), so the image is the same on every build.

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace
{
using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t prefix[] = { 0xf0, 0x00, 0x7f, 0x7f, 0x51, 0x01 };
constexpr int numBlocks = 394;
constexpr int groupsPerBlock = 73;
constexpr int bytesPerBlock = groupsPerBlock * 7; // 511 firmware bytes per block

Bytes generateImage()
{
    std::uint32_t state = 0x51554c4cu;
    auto nextByte = [&state]
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<std::uint8_t> (state >> 24);
    };

    Bytes image;
    auto beginMessage = [&image]
    {
        image.insert (image.end(), std::begin (prefix), std::end (prefix));
    };

    beginMessage();
    image.insert (image.end(), { 0x10, 0x00, 0xf7 });

    unsigned firmwareSum = 0;

    for (int block = 0; block < numBlocks; ++block)
    {
        beginMessage();
        const auto bodyStart = image.size();
        const auto offset = static_cast<std::uint32_t> (block * bytesPerBlock);

        image.insert (image.end(), { 0x20, static_cast<std::uint8_t> ((block >> 7) & 0x7f),
                                     static_cast<std::uint8_t> (block & 0x7f),
                                     static_cast<std::uint8_t> ((offset >> 21) & 0x7f),
                                     static_cast<std::uint8_t> ((offset >> 14) & 0x7f),
                                     static_cast<std::uint8_t> ((offset >> 7) & 0x7f),
                                     static_cast<std::uint8_t> (offset & 0x7f) });

        for (int group = 0; group < groupsPerBlock; ++group)
        {
            std::uint8_t raw[7];
            std::uint8_t topBits = 0;

            for (int i = 0; i < 7; ++i)
            {
                raw[i] = nextByte();
                firmwareSum += raw[i];
                topBits |= static_cast<std::uint8_t> ((raw[i] >> 7) << i);
            }

            image.push_back (topBits);

            for (auto b : raw)
                image.push_back (static_cast<std::uint8_t> (b & 0x7f));
        }

        unsigned bodySum = 0;

        for (auto i = bodyStart; i < image.size(); ++i)
            bodySum += image[i];

        image.push_back (static_cast<std::uint8_t> ((128 - bodySum % 128) % 128));
        image.push_back (0xf7);
    }

    beginMessage();
    image.insert (image.end(), { 0x30, static_cast<std::uint8_t> (firmwareSum % 128), 0xf7 });
    return image;
}

std::string hexByte (std::uint8_t b)
{
    std::ostringstream s;
    s << "0x" << std::hex << std::setw (2) << std::setfill ('0') << int (b);
    return s.str();
}

// Returns an empty string when the image is a run of complete SysEx messages with only 7-bit
// data bytes between F0 and F7 and nothing between the messages; otherwise what is wrong.
std::string checkFraming (const Bytes& image, std::size_t& numMessages)
{
    std::ostringstream problem;
    numMessages = 0;

    if (image.empty())
        return "the image is empty";

    std::size_t pos = 0;

    while (pos < image.size())
    {
        if (image[pos] != 0xf0)
        {
            problem << "byte " << hexByte (image[pos]) << " at offset " << pos
                    << " is not 0xf0 (expected the start of a message)";
            return problem.str();
        }

        const auto start = pos++;

        while (pos < image.size() && image[pos] < 0x80)
            ++pos;

        if (pos == image.size())
        {
            problem << "the message starting at offset " << start << " has no closing 0xf7";
            return problem.str();
        }

        if (image[pos] != 0xf7)
        {
            problem << "byte " << hexByte (image[pos]) << " at offset " << pos
                    << " inside the message starting at offset " << start << " is not a 7-bit data byte";
            return problem.str();
        }

        ++pos;
        ++numMessages;
    }

    return {};
}

bool readFile (const std::string& path, Bytes& bytes)
{
    std::ifstream in (path, std::ios::binary);

    if (!in)
        return false;

    bytes.assign (std::istreambuf_iterator<char> (in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// Writes through a temporary file, so that a failed run never leaves a half-written output.
bool writeFile (const std::string& path, const std::string& content)
{
    const auto temporary = path + ".tmp";
    {
        std::ofstream out (temporary, std::ios::binary | std::ios::trunc);
        out << content;

        if (!out.flush())
        {
            std::remove (temporary.c_str());
            return false;
        }
    }
    return std::rename (temporary.c_str(), path.c_str()) == 0;
}

int fail (const std::string& message)
{
    std::cerr << "syx-image-tool: " << message << '\n';
    return 1;
}

int readAndCheck (const std::string& path, Bytes& image, std::size_t& numMessages)
{
    if (!readFile (path, image))
        return fail (path + ": cannot read the file");

    const auto problem = checkFraming (image, numMessages);

    if (!problem.empty())
        return fail (path + ": not a usable SysEx image: " + problem);

    return 0;
}

std::string toCpp (const Bytes& image, const std::string& sourcePath)
{
    static const char* hex = "0123456789abcdef";
    std::string out;
    out.reserve (image.size() * 5 + 512);
    out += "// Generated by syx-image-tool from " + sourcePath + ". Do not edit.\n";
    out += "#include \"firmware/BuiltInFirmwareData.h\"\n\nnamespace BuiltInFirmwareData\n{\n";
    out += "const unsigned char bytes[] = {\n";

    for (std::size_t i = 0; i < image.size(); ++i)
    {
        out += "0x";
        out += hex[image[i] >> 4];
        out += hex[image[i] & 15];
        out += (i % 20 == 19) ? ",\n" : ",";
    }

    out += "\n};\nconst std::size_t size = sizeof (bytes);\n} // namespace BuiltInFirmwareData\n";
    return out;
}
} // namespace

int main (int argc, char** argv)
{
    const std::vector<std::string> args (argv + 1, argv + argc);

    if (args.size() == 2 && args[0] == "generate")
    {
        const auto image = generateImage();
        std::size_t numMessages = 0;

        if (!checkFraming (image, numMessages).empty() || image.size() != 236024 || numMessages != 396)
            return fail ("internal error: the generated image does not have its documented shape");

        if (!writeFile (args[1], std::string (image.begin(), image.end())))
            return fail (args[1] + ": cannot write the file");

        return 0;
    }

    if (args.size() == 2 && args[0] == "check")
    {
        Bytes image;
        std::size_t numMessages = 0;

        if (readAndCheck (args[1], image, numMessages) != 0)
            return 1;

        std::cout << args[1] << ": " << image.size() << " bytes in " << numMessages << " SysEx messages\n";
        return 0;
    }

    if (args.size() == 3 && args[0] == "embed")
    {
        Bytes image;
        std::size_t numMessages = 0;

        if (readAndCheck (args[1], image, numMessages) != 0)
            return 1;

        if (!writeFile (args[2], toCpp (image, args[1])))
            return fail (args[2] + ": cannot write the file");

        return 0;
    }

    return fail ("usage: syx-image-tool generate OUT.syx | check IN.syx | embed IN.syx OUT.cpp");
}
