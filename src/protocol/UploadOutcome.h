#pragma once

// How an upload ended. Decided by the upload thread from what happened, never from the status text.
enum class UploadOutcome
{
    none,         // no upload has ended since the last one started
    completed,    // every byte was handed to an output that was still there after the last message
    damagedImage, // the image is not a clean run of complete SysEx messages: nothing was sent
    noDevice,     // no output was open when the upload began: nothing was sent
    deviceLost,   // the output went away during the upload: the device has part of the image
    stopped       // a stop or quit came before the last message: the device has part of the image
};
