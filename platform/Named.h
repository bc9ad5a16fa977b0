#pragma once

#include <QObject>
#include <QString>

namespace platform {

// Forms name their components as the programs name them; tests find them by that name.
template <typename T> T* named(T* object, const char* name)
{
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

} // namespace platform
