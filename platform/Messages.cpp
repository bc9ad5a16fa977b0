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
    if (!window)
        return 0;
    // Each send has its own record, so a handler that sends again does not disturb the outer result.
    Message message{msg, wParam, lParam, 0};
    window->Dispatch(message);
    return message.result;
}

} // namespace platform
