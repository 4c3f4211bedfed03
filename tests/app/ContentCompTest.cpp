#include "app/ContentComp.h"
#include "app/CommandLine.h"
#include "firmware/BuiltInFirmwareImage.h"
#include "support/ScopedAlertRecorder.h"
#include "support/TempFolder.h"
#include "support/VirtualMidiPortProvider.h"

#include <gtest/gtest.h>

TEST (ContentComp, WithoutOptionsHoldsTheBuiltInImageInManualMode)
{
    ScopedAlertRecorder alerts;
    VirtualMidiPortProvider ports;
    const ContentComp content ({}, ports);

    EXPECT_EQ (content.getFirmwareImage()->getData(), BuiltInFirmwareImage().getData());
    EXPECT_EQ (content.getFirmwareImage()->getProductName(), "Halvane Chorus");
    EXPECT_FALSE (content.isAutomaticMode());
    EXPECT_TRUE (alerts.alerts().empty());
}

TEST (ContentComp, AppliesFileAndAutomaticModeFromTheCommandLine)
{
    TempFolder temp;
    const auto fw = temp.write ("dir with blank/fw.syx", { 0xf0, 0x01, 0xf7 });
    ScopedAlertRecorder alerts;
    VirtualMidiPortProvider ports;
    const ContentComp content (parseCommandLine ("--autoupdate --outputid 2 --file " + fw.getFullPathName()),
                               ports);

    EXPECT_TRUE (content.isAutomaticMode());
    EXPECT_EQ (content.getFirmwareImage()->getProductName(), "fw");
    EXPECT_EQ (content.getFirmwareImage()->getSize(), 3u);
    // No output 2 exists here: automatic mode says so instead of starting.
    ASSERT_EQ (alerts.alerts().size(), 1u);
    EXPECT_EQ (alerts.alerts()[0].message, "Please select an output device:");
    EXPECT_EQ (content.getExitStatus(), ExitStatus::noSuchOutput);
    EXPECT_EQ (content.describeExitStatus(), "there is no MIDI output 2 (0 outputs); nothing was sent");
}

TEST (ContentComp, UnusableFileKeepsTheCurrentImage)
{
    TempFolder temp;
    const auto empty = temp.write ("empty.syx", {});
    ScopedAlertRecorder alerts;
    VirtualMidiPortProvider ports;
    ContentComp content ({}, ports);
    const auto* builtIn = content.getFirmwareImage();

    EXPECT_EQ (content.loadFirmwareFile (empty.getFullPathName()), FileFirmwareImage::LoadResult::empty);
    EXPECT_EQ (content.loadFirmwareFile (temp.getFile ("missing.syx").getFullPathName()),
               FileFirmwareImage::LoadResult::missing);
    // Telling the user is the caller's business.
    EXPECT_TRUE (alerts.alerts().empty());
    EXPECT_EQ (content.getFirmwareImage(), builtIn);
    EXPECT_EQ (content.getFirmwareImage()->getProductName(), "Halvane Chorus");
}
