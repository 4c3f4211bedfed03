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
