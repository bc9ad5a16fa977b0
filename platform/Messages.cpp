#include "platform/Messages.h"

namespace platform {

void MessageWindow::Dispatch(Message& message)
{
    DefaultHandler(message);
}

void MessageWindow::DefaultHandler(Message& message)
{
    message.result = 0;
}

LRESULT SendMessage(MessageWindow* window, unsigned msg, WPARAM wParam, LPARAM lParam)
{
    // Each send has its own record, so a handler that sends again does not disturb the outer result.
    Message message{msg, wParam, lParam, 0};
    return SendMessage(window, message);
}

LRESULT SendMessage(MessageWindow* window, Message& message)
{
    message.result = 0;
    if (window)
        window->Dispatch(message);
    return message.result;
}

} // namespace platform
