#pragma once

#include <cstdint>

// Private messages between the programs' components: synchronous, re-entrant, with a result.
namespace platform {

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

constexpr unsigned WM_NULL = 0x0000;
constexpr unsigned WM_COPYDATA = 0x004A;
constexpr unsigned WM_KEYDOWN = 0x0100;
constexpr unsigned WM_SYSKEYDOWN = 0x0104;
constexpr unsigned WM_APP = 0x8000;

struct Message
{
    unsigned msg = WM_NULL;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    LRESULT result = 0;
};

// A receiver of messages. Overrides of Dispatch handle their own messages and hand every other one
// to MessageWindow::Dispatch, which calls DefaultHandler.
class MessageWindow
{
public:
    virtual ~MessageWindow() = default;
    virtual void Dispatch(Message& message);

protected:
    // What an unknown message gets: result 0.
    virtual void DefaultHandler(Message& message);
};

// Calls the window's Dispatch at once (also from inside another Dispatch) and returns the result.
// A null window gets nothing and returns 0.
LRESULT SendMessage(MessageWindow* window, unsigned msg, WPARAM wParam, LPARAM lParam);

template <typename T>
LPARAM toLParam(T* record)
{
    return reinterpret_cast<LPARAM>(record);
}

template <typename T>
T* fromLParam(LPARAM lParam)
{
    return reinterpret_cast<T*>(lParam);
}

} // namespace platform
