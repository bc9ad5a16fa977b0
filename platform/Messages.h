#pragma once

#include <cstdint>
#include <memory>
#include <typeinfo>

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

// Virtual-key codes, as keyboard messages carry them in their WPARAM.
enum VirtualKey : unsigned {
    VK_BACK = 0x08,
    VK_ESCAPE = 0x1B,
    VK_F1 = 0x70, // VK_F1 + n is function key n + 1
    VK_F12 = 0x7B,
};

struct Message
{
    unsigned msg = WM_NULL;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    LRESULT result = 0;
    // Set by the record sends below: the type of the record in lParam, and whether the receiver may
    // take it (handed over) or only read it (lent). A plain send carries no record.
    const std::type_info* recordType = nullptr;
    bool handedOver = false;
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
// The same for a message already filled in; its result is also left in the message.
LRESULT SendMessage(MessageWindow* window, Message& message);

// A record lent for the length of one send: the sender keeps it.
template <typename T>
struct Lent
{
    T* record;
};

template <typename T>
Lent<T> Lend(T* record)
{
    return {record};
}

namespace detail {
// The one place where records and LPARAMs are converted into each other.
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
} // namespace detail

// Hands the record over: the receiver takes it with TakeRecord. A record that nobody takes (no
// window, a message nobody handles) is freed when the send returns.
template <typename T>
LRESULT SendMessage(MessageWindow* window, unsigned msg, WPARAM wParam, std::unique_ptr<T> record)
{
    Message message{msg, wParam, detail::toLParam(record.get()), 0, &typeid(T), record != nullptr};
    SendMessage(window, message);
    if (!message.handedOver)
        (void)record.release(); // the receiver owns it now
    return message.result;
}

// Lends the record for the call: the receiver reads it with RecordOf and must not keep it.
template <typename T>
LRESULT SendMessage(MessageWindow* window, unsigned msg, WPARAM wParam, Lent<T> lent)
{
    Message message{msg, wParam, detail::toLParam(lent.record), 0, &typeid(T), false};
    return SendMessage(window, message);
}

// The record of a message, to read: lent or handed over and not yet taken. Null when the message
// carries no record of that type.
template <typename T>
T* RecordOf(const Message& message)
{
    if (!message.recordType || *message.recordType != typeid(T))
        return nullptr;
    return detail::fromLParam<T>(message.lParam);
}

// Takes a handed-over record: from here on the receiver owns it. Null when the message carries no
// record of that type, a lent one, or one already taken.
template <typename T>
std::unique_ptr<T> TakeRecord(Message& message)
{
    if (!message.handedOver)
        return nullptr;
    T* record = RecordOf<T>(message);
    if (!record)
        return nullptr;
    message.handedOver = false;
    message.lParam = 0;
    return std::unique_ptr<T>(record);
}

} // namespace platform
