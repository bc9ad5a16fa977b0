#pragma once

#include <memory>

#include <QByteArray>
#include <QString>

class QTemporaryDir;

namespace platform::testing {

// Puts the C library's number locale (LC_NUMERIC) in force for its lifetime, as a user's environment
// does through QApplication. A locale the machine lacks is generated first with localedef into a
// temporary folder, so tests do not depend on what is installed. "C" needs no generation.
class NumericLocale
{
public:
    explicit NumericLocale(const QString& name); // "de_DE.UTF-8", "ps_AF.UTF-8", "C", ...
    ~NumericLocale();
    NumericLocale(const NumericLocale&) = delete;
    NumericLocale& operator=(const NumericLocale&) = delete;

    // Empty when the locale is in force; otherwise why not.
    QString error() const { return m_error; }
    // The decimal separator the C library uses now.
    static QByteArray decimalPoint();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QByteArray m_previous;
    QByteArray m_previousPath;
    bool m_hadPath = false;
    QString m_error;
};

} // namespace platform::testing
