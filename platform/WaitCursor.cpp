#include "platform/WaitCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace platform {

WaitCursor::WaitCursor()
    // Without a GUI application (console tools, core tests) there is no cursor to change.
    : m_active(qGuiApp != nullptr)
{
    if (m_active)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

WaitCursor::~WaitCursor()
{
    if (m_active && qGuiApp)
        QGuiApplication::restoreOverrideCursor();
}

} // namespace platform
