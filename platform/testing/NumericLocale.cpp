#include "platform/testing/NumericLocale.h"

#include <clocale>

#include <QProcess>
#include <QTemporaryDir>

namespace platform::testing {

namespace {

constexpr const char* kLocalePath = "LOCPATH";

} // namespace

NumericLocale::NumericLocale(const QString& name)
    : m_previous(std::setlocale(LC_NUMERIC, nullptr)), m_previousPath(qgetenv(kLocalePath)),
      m_hadPath(qEnvironmentVariableIsSet(kLocalePath))
{
    if (name != QLatin1String("C")) {
        // "de_DE.UTF-8": the locale source de_DE with the character map UTF-8.
        const QString source = name.section(QLatin1Char('.'), 0, 0);
        const QString charmap = name.section(QLatin1Char('.'), 1);
        m_dir = std::make_unique<QTemporaryDir>();
        QProcess localedef;
        // -c: a source with warnings still gives a usable locale.
        localedef.start(QStringLiteral("localedef"), {QStringLiteral("-c"), QStringLiteral("-i"), source,
                                                      QStringLiteral("-f"), charmap, m_dir->filePath(name)});
        // Exit code 1 only reports warnings; the locale is written.
        if (!localedef.waitForFinished(60000) || localedef.exitStatus() != QProcess::NormalExit ||
            localedef.exitCode() > 1) {
            m_error = QStringLiteral("localedef %1 failed: %2 %3 (the locales package holds the sources)")
                          .arg(name, localedef.errorString(),
                               QString::fromLocal8Bit(localedef.readAllStandardError()));
            return;
        }
        qputenv(kLocalePath, m_dir->path().toLocal8Bit());
    }
    if (!std::setlocale(LC_NUMERIC, name.toLocal8Bit().constData()))
        m_error = QStringLiteral("setlocale(LC_NUMERIC, %1) failed").arg(name);
}

NumericLocale::~NumericLocale()
{
    std::setlocale(LC_NUMERIC, m_previous.constData());
    if (m_hadPath)
        qputenv(kLocalePath, m_previousPath);
    else
        qunsetenv(kLocalePath);
}

QByteArray NumericLocale::decimalPoint()
{
    return QByteArray(std::localeconv()->decimal_point);
}

} // namespace platform::testing
