#pragma once

#include <QObject>
#include <QString>

namespace platform {

// Forms name their components as the programs name them; tests find them by that name.
template <typename T> T* named(T* object, const QString& name)
{
    object->setObjectName(name);
    return object;
}

template <typename T> T* named(T* object, const char* name)
{
    return named(object, QString::fromLatin1(name));
}

} // namespace platform
