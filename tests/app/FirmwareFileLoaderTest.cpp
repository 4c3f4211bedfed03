#include "app/FirmwareFileLoader.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace
{
using Framing = FirmwareFileLoader::Framing;
using Problem = FirmwareFileLoader::Problem;
} // namespace

TEST (FirmwareFileLoader, LoadsOrNamesTheProblem)
{
    const TempFolder temp;
    const auto intact = temp.write ("intact.syx", { 0xf0, 0x01, 0xf7, 0xf0, 0x02, 0xf7 });
    const auto damaged = temp.write ("damaged.syx", { 0xf0, 0x01, 0xf7, 0x02 });
    const auto empty = temp.write ("empty.syx", {});

    struct Case
    {
        juce::File file;
        Framing framing;
        Problem problem;
        FileFirmwareImage::LoadResult loadResult;
    };

    const Case cases[] = {
        { intact, Framing::checkedNow, Problem::none, FileFirmwareImage::LoadResult::loaded },
        { intact, Framing::checkedAtUpload, Problem::none, FileFirmwareImage::LoadResult::loaded },
        // Only a check now refuses a damaged image; otherwise the upload refuses it later.
        { damaged, Framing::checkedNow, Problem::damaged, FileFirmwareImage::LoadResult::loaded },
        { damaged, Framing::checkedAtUpload, Problem::none, FileFirmwareImage::LoadResult::loaded },
        { empty, Framing::checkedNow, Problem::empty, FileFirmwareImage::LoadResult::empty },
        { temp.getFile ("missing.syx"), Framing::checkedAtUpload, Problem::missing,
          FileFirmwareImage::LoadResult::missing },
        { temp.getFile (""), Framing::checkedNow, Problem::missing, FileFirmwareImage::LoadResult::missing },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.file.getFullPathName() + (c.framing == Framing::checkedNow ? " now" : " at upload"));
        FirmwareFileLoader loader (c.file.getFullPathName(), c.framing);

        EXPECT_EQ (loader.getProblem(), c.problem);
        EXPECT_EQ (loader.isLoaded(), c.problem == Problem::none);
        EXPECT_EQ (loader.getLoadResult(), c.loadResult);
        EXPECT_EQ (loader.getFileName(), c.file.getFullPathName());

        const auto image = loader.takeImage();
        ASSERT_EQ (image != nullptr, loader.isLoaded());
        EXPECT_EQ (loader.takeImage(), nullptr); // handed over once

        if (image != nullptr)
        {
            EXPECT_EQ (image->getSize(), static_cast<std::uint32_t> (c.file.getSize()));
        }
    }
}

TEST (FirmwareFileLoader, DescribesEachProblem)
{
    struct Case
    {
        Problem problem;
        const char* description;
        const char* title;
    };

    const Case cases[] = {
        { Problem::missing, "could not be found", "File a b.syx not found" },
        { Problem::empty, "is empty", "File a b.syx is empty" },
        { Problem::unreadable, "could not be read", "File a b.syx could not be read" },
        { Problem::tooLarge, "is too large to be a firmware image", "File a b.syx is too large" },
        { Problem::damaged, "is not a run of complete SysEx messages", "File a b.syx is damaged" },
        { Problem::none, "", "" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.description);
        EXPECT_EQ (FirmwareFileLoader::describeProblem (c.problem), c.description);
        EXPECT_EQ (FirmwareFileLoader::titleFor ("a b.syx", c.problem), c.title);
    }

    EXPECT_EQ (FirmwareFileLoader::describeFailure ("a b.syx", Problem::unreadable),
               "the firmware file a b.syx could not be read; nothing was sent");
}
