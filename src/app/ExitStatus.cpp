#include "app/ExitStatus.h"

ExitStatus exitStatusFor (UploadOutcome outcome) noexcept
{
    switch (outcome)
    {
        case UploadOutcome::completed:
            return ExitStatus::completed;
        case UploadOutcome::damagedImage:
            return ExitStatus::imageUnusable;
        case UploadOutcome::noDevice:
            return ExitStatus::noSuchOutput;
        case UploadOutcome::deviceLost:
            return ExitStatus::deviceLost;
        case UploadOutcome::stopped:
        case UploadOutcome::none:
            break;
    }

    return ExitStatus::stopped;
}

const char* describeOutcome (UploadOutcome outcome) noexcept
{
    switch (outcome)
    {
        case UploadOutcome::completed:
            return "the update completed";
        case UploadOutcome::damagedImage:
            return "the firmware image is damaged; nothing was sent";
        case UploadOutcome::noDevice:
            return "no output device was open; nothing was sent";
        case UploadOutcome::deviceLost:
            return "the output device was disconnected during the update; it did not complete";
        case UploadOutcome::stopped:
        case UploadOutcome::none:
            break;
    }

    return "the update was stopped before it completed";
}

const char* describe (ExitStatus status) noexcept
{
    switch (status)
    {
        case ExitStatus::completed:
            return "the update completed: every byte was sent, and the output was still there at the end";
        case ExitStatus::stopped:
            return "stopped before it completed: window closed, Ctrl-C, SIGTERM, SIGHUP, display lost; also "
                   "when there is no display at start";
        case ExitStatus::imageUnusable:
            return "the firmware image is damaged, or the --file could not be loaded; nothing was sent";
        case ExitStatus::noSuchOutput:
            return "the output asked for is not there or cannot be opened; nothing was sent";
        case ExitStatus::deviceLost:
            return "the output device was disconnected during the update; the pedal has only part of the "
                   "image";
        case ExitStatus::alreadyRunning:
            return "another instance of Quillon is already running; nothing was sent";
        case ExitStatus::badOptionValue:
            return "an option's value is out of its range or not a number (also without --autoupdate); "
                   "nothing was sent";
    }

    return "";
}
