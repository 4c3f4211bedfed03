#include "firmware/BuiltInFirmwareImage.h"
#include "firmware/FileFirmwareImage.h"
#include "support/ScopedAlertRecorder.h"
#include "support/SysexImages.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#if !JUCE_WINDOWS
#include <pwd.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#endif

#include <vector>

namespace
{
juce::MemoryBlock contentOf (const FirmwareImage& image)
{
    return image.getData() == nullptr ? juce::MemoryBlock()
                                      : juce::MemoryBlock (image.getData(), image.getSize());
}

} // namespace

TEST (BuiltInFirmwareImage, HasTheShapeOfASysExImage)
{
    const BuiltInFirmwareImage image;
    ASSERT_NE (image.getData(), nullptr);

    const auto messages = splitSysexMessages (image.getData(), image.getSize());
    ASSERT_FALSE (messages.empty());

    for (const auto& m : messages)
    {
        ASSERT_GE (m.size(), 6u);
        EXPECT_EQ (m.front(), 0xf0);
        EXPECT_EQ (m.back(), 0xf7);
        EXPECT_TRUE (std::equal (m.begin(), m.begin() + 6, messages.front().begin()))
            << "six-byte prefix differs";

        for (size_t i = 1; i + 1 < m.size(); ++i)
            ASSERT_LT (m[i], 0x80) << "status byte inside a message";
    }

    EXPECT_EQ (messages.front()[1], 0x00) << "manufacturer id of the form 00 x y";

    if (QUILLON_BUILTIN_SYX_IS_GENERATED)
    {
        EXPECT_EQ (image.getSize(), 236024u);
        ASSERT_EQ (messages.size(), 396u);
        EXPECT_EQ (messages.front().size(), 9u);
        EXPECT_EQ (messages.back().size(), 9u);

        for (size_t i = 1; i + 1 < messages.size(); ++i)
            ASSERT_EQ (messages[i].size(), 599u) << "message " << i;
    }
}

TEST (BuiltInFirmwareImage, IsTheEmbeddedFileUncopiedWithItsValues)
{
    const BuiltInFirmwareImage image;
    juce::MemoryBlock fileContent;
    ASSERT_TRUE (juce::File (QUILLON_BUILTIN_SYX_FILE).loadFileAsData (fileContent));
    EXPECT_EQ (contentOf (image), fileContent);

    // Constant program data: every image points at the same bytes.
    const BuiltInFirmwareImage other;
    EXPECT_EQ (other.getData(), image.getData());

    EXPECT_EQ (image.getProductName(), "VexaChorus");
    EXPECT_EQ (image.getFirmwareVersion(), "1.0.03");
    EXPECT_EQ (image.getRevision(), 1806);
}

TEST (BuiltInFirmwareImage, ProductNameCanBeReplaced)
{
    BuiltInFirmwareImage image;
    image.setProductName ("Halvane Chorus");
    EXPECT_EQ (image.getProductName(), "Halvane Chorus");
}

class FileFirmwareImageTest : public ::testing::Test
{
protected:
    juce::File write (const juce::String& relativePath, const juce::MemoryBlock& content)
    {
        return temp.write (relativePath, content.getData(), content.getSize());
    }

    static juce::MemoryBlock someSysEx()
    {
        const std::uint8_t bytes[] = {
            0xf0, 0x00, 0x7f, 0x7f, 0x51, 0x01, 0x10, 0x00, 0xf7, 0xf0, 0x01, 0xf7
        };
        return { bytes, sizeof (bytes) };
    }

    // The file yields no image, for the reason given; the image shows no message itself.
    static void expectNoImage (const juce::String& fileName, FileFirmwareImage::LoadResult expected)
    {
        ScopedAlertRecorder alerts;
        const FileFirmwareImage image (fileName);
        EXPECT_EQ (image.getLoadResult(), expected);
        EXPECT_EQ (image.getData(), nullptr);
        EXPECT_EQ (image.getSize(), 0u);
        EXPECT_TRUE (alerts.alerts().empty());
    }

    const TempFolder temp;
    const juce::File dir = temp.getFolder();
};

TEST_F (FileFirmwareImageTest, ReadsTheWholeFileAndNamesItAfterTheFile)
{
    const std::pair<const char*, const char*> cases[] = {
        { "fw.syx", "fw" },
        { "sub/dir/fw.v2.syx", "fw.v2" },
        { "firmware", "firmware" },
        { ".syx", ".syx" },
        { "dir with blank/my  fw.syx", "my  fw" },
        { "Ger\xc3\xa4t/fw \xc3\xa4.syx", "fw \xc3\xa4" },
    };

    for (const auto& [relativePath, productName] : cases)
    {
        SCOPED_TRACE (relativePath);
        const auto file = write (juce::String::fromUTF8 (relativePath), someSysEx());

        ScopedAlertRecorder alerts;
        const FileFirmwareImage image (file.getFullPathName());

        EXPECT_EQ (image.getLoadResult(), FileFirmwareImage::LoadResult::loaded);
        EXPECT_EQ (contentOf (image), someSysEx());
        EXPECT_EQ (image.getProductName(), juce::String::fromUTF8 (productName));
        EXPECT_EQ (image.getFirmwareVersion(), "");
        EXPECT_EQ (image.getRevision(), 0);
        EXPECT_TRUE (alerts.alerts().empty());
    }
}

TEST_F (FileFirmwareImageTest, RelativeNameIsTakenFromTheWorkingDirectory)
{
    write ("fw.syx", someSysEx());
    ASSERT_TRUE (dir.setAsCurrentWorkingDirectory());

    const FileFirmwareImage image ("fw.syx");
    EXPECT_EQ (contentOf (image), someSysEx());
    EXPECT_EQ (image.getProductName(), "fw");
}

TEST_F (FileFirmwareImageTest, MissingFileOrDirectoryIsMissing)
{
    const auto existing = write ("fw.syx", someSysEx());
    const juce::String names[] = {
        dir.getChildFile ("missing.syx").getFullPathName(),
        dir.getFullPathName(),                    // a directory
        "\"" + existing.getFullPathName() + "\"", // quotation marks are part of the name
        dir.getChildFile ("no dir/\xc3\xbc.syx").getFullPathName(),
        "", // --file with nothing after it
    };

    for (const auto& name : names)
    {
        SCOPED_TRACE (name);
        expectNoImage (name, FileFirmwareImage::LoadResult::missing);
    }
}

TEST_F (FileFirmwareImageTest, EmptyFileIsEmpty)
{
    expectNoImage (write ("empty.syx", {}).getFullPathName(), FileFirmwareImage::LoadResult::empty);
}

// A FIFO, a sparse file and a change of user are made with POSIX calls that Windows lacks.
#if !JUCE_WINDOWS
TEST_F (FileFirmwareImageTest, FifoIsNotOpenedSoNothingBlocks)
{
    const auto fifo = dir.getChildFile ("fifo.syx");
    ASSERT_EQ (mkfifo (fifo.getFullPathName().toRawUTF8(), 0600), 0);
    expectNoImage (fifo.getFullPathName(), FileFirmwareImage::LoadResult::empty);
}

TEST_F (FileFirmwareImageTest, FileBeyondTheSizeLimitIsNotRead)
{
    // Sparse: takes no space, and the image must not try to read it.
    const auto big = write ("big.syx", {});
    const juce::int64 sizes[] = { FileFirmwareImage::maxFileSize + 1, 0x100000001LL };

    for (const auto size : sizes)
    {
        SCOPED_TRACE (size);
        ASSERT_EQ (truncate (big.getFullPathName().toRawUTF8(), off_t (size)), 0);
        expectNoImage (big.getFullPathName(), FileFirmwareImage::LoadResult::tooLarge);
    }
}

TEST_F (FileFirmwareImageTest, FileThatCannotBeOpenedIsUnreadable)
{
    const auto file = write ("locked.syx", someSysEx());
    ASSERT_EQ (chmod (file.getFullPathName().toRawUTF8(), 0), 0);

    // Root reads any file: read as an unprivileged effective user instead, and switch back before
    // the fixture cleans up.
    struct ScopedEffectiveUser
    {
        bool switched = false;
        ~ScopedEffectiveUser()
        {
            if (switched)
            {
                EXPECT_EQ (seteuid (0), 0);
            }
        }
    } effectiveUser;

    if (geteuid() == 0)
    {
        const auto* nobody = getpwnam ("nobody");

        if (nobody == nullptr || seteuid (nobody->pw_uid) != 0)
            GTEST_SKIP()
                << "running as root without a user 'nobody' to switch to: permissions cannot be tested";

        effectiveUser.switched = true;
    }

    ASSERT_EQ (file.createInputStream(), nullptr) << "the file is readable after all";
    expectNoImage (file.getFullPathName(), FileFirmwareImage::LoadResult::unreadable);
}
#endif
