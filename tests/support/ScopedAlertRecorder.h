#pragma once

#include "app/AlertBox.h"

#include <vector>

// Records every message box shown while it exists, instead of running a modal loop.
class ScopedAlertRecorder final
{
public:
    ScopedAlertRecorder();
    ~ScopedAlertRecorder();

    const std::vector<AlertBox::Request>& alerts() const { return recorded; }

private:
    std::vector<AlertBox::Request> recorded;

    JUCE_DECLARE_NON_COPYABLE (ScopedAlertRecorder)
};
