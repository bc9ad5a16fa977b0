#include "platform/Convert.h"

#include <QByteArray>

#include <array>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <limits>
#include <string_view>
#include <vector>

#include <locale.h>

namespace platform {

namespace {

constexpr int kSignificantDigits = 15;

} // namespace

int StrToIntDef(const QString& text, int defaultValue)
{
    return StrToInt(text).value_or(defaultValue);
}

std::optional<int> StrToInt(const QString& text)
{
    const QString s = text.trimmed();
    qsizetype i = 0;
    const bool negative = s.startsWith(u'-');
    if (negative || s.startsWith(u'+'))
        ++i;
    if (i == s.size())
        return std::nullopt;
    qint64 value = 0;
    for (; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
        if (value > qint64(std::numeric_limits<int>::max()) + 1)
            return std::nullopt;
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(value);
}

std::optional<double> StrToFloat(const QString& text)
{
    QByteArray s = text.trimmed().toLatin1(); // anything beyond Latin-1 becomes '?' and fails below
    s.replace(',', '.');
    const char* begin = s.constData();
    const char* end = begin + s.size();
    // from_chars takes no '+', but a typed number may carry one.
    if (begin != end && *begin == '+' && end - begin > 1 && begin[1] != '-')
        ++begin;
    double value = 0;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (begin == end || ec != std::errc() || ptr != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString FloatToStr(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (value == 0)
        return QStringLiteral("0");

    // "-d.dddddddddddddde±xx": the 15 significant digits, rounded, and the decimal exponent. to_chars
    // ignores the locale, which snprintf follows ("," or a multi-byte separator would garble the text).
    char buffer[64];
    const auto converted = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific,
                                         kSignificantDigits - 1);
    const std::string_view text(buffer, converted.ptr - buffer);
    const std::size_t e = text.find('e');
    const std::size_t first = text.front() == '-' ? 1 : 0;
    const bool negative = first == 1;
    int exponent = 0;
    const std::size_t exponentStart = text[e + 1] == '+' ? e + 2 : e + 1; // from_chars takes no '+'
    std::from_chars(text.data() + exponentStart, text.data() + text.size(), exponent);
    QString digits = QString::fromLatin1(text.data() + first, 1) +
                     QString::fromLatin1(text.data() + first + 2, qsizetype(e - first - 2));
    while (digits.endsWith(u'0'))
        digits.chop(1);

    QString result;
    if (exponent < -5 || exponent >= kSignificantDigits) {
        result = digits.left(1);
        if (digits.size() > 1)
            result += u'.' + digits.mid(1);
        result += u'E' + QString::number(exponent);
    } else if (exponent < 0) {
        result = QStringLiteral("0.") + QString(-exponent - 1, u'0') + digits;
    } else {
        if (digits.size() <= exponent + 1)
            digits += QString(exponent + 1 - digits.size(), u'0');
        result = digits.left(exponent + 1);
        if (digits.size() > exponent + 1)
            result += u'.' + digits.mid(exponent + 1);
    }
    return negative ? u'-' + result : result;
}

QString Format(const char* format, ...)
{
    // The C library's own formatting, so that exact halves round as printf rounds them ("%.1f" of
    // 6.25 is "6.2"), in the C locale whatever the user's: numbers always take '.'.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    const locale_t previous = uselocale(cLocale);
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    std::array<char, 128> small{};
    const int length = std::vsnprintf(small.data(), small.size(), format, args);
    QByteArray bytes;
    if (length >= int(small.size())) {
        std::vector<char> large(std::size_t(length) + 1);
        std::vsnprintf(large.data(), large.size(), format, again);
        bytes = QByteArray(large.data(), length);
    } else if (length > 0) {
        bytes = QByteArray(small.data(), length);
    }
    va_end(again);
    va_end(args);
    uselocale(previous);
    return QString::fromUtf8(bytes);
}

} // namespace platform
