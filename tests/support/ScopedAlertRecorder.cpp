#include "support/ScopedAlertRecorder.h"

ScopedAlertRecorder::ScopedAlertRecorder()
{
    AlertBox::setHandler ([this] (const AlertBox::Request& request) { recorded.push_back (request); });
}

ScopedAlertRecorder::~ScopedAlertRecorder()
{
    AlertBox::setHandler (nullptr);
}
