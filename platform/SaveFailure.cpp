#include "platform/SaveFailure.h"

#include <QDebug>

namespace platform {

QString logSaveFailure(const QString& fileName, const QString& reason)
{
    const QString text = QStringLiteral("保存に失敗しました: %1: %2").arg(fileName, reason);
    qWarning().noquote() << text;
    return text;
}

} // namespace platform
