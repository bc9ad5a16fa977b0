#pragma once

namespace platform {

// The hourglass cursor for the life of the object; restored on every way out of the scope.
// Guards nest: each one pushes onto the application's override-cursor stack and pops its own entry.
class WaitCursor
{
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    bool m_active; // false without a GUI application: nothing to set, nothing to restore
};

} // namespace platform
