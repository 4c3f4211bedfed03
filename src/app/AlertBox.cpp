#include "app/AlertBox.h"

namespace
{
AlertBox::Handler& handlerSlot()
{
    static AlertBox::Handler handler;
    return handler;
}
} // namespace

void AlertBox::show (const Request& request)
{
    JUCE_ASSERT_MESSAGE_THREAD

    if (auto& handler = handlerSlot())
    {
        handler (request);
        return;
    }

    juce::AlertWindow::showMessageBox (request.icon, request.title, request.message, request.buttonText);
}

void AlertBox::setHandler (Handler handler)
{
    handlerSlot() = std::move (handler);
}
