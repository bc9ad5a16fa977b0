#include "platform/DateTime.h"

#include <cmath>
#include <utility>

namespace platform::DateTime {

namespace {

constexpr qint64 kMsPerDay = 86'400'000;
// Beyond about year 10000 either way a serial is garbage from a damaged file.
constexpr double kMaxSerial = 3'000'000;

qint64 baseJulianDay()
{
    return QDate(1899, 12, 30).toJulianDay();
}

// Splits a serial into the date and the millisecond of the day, rounded to the nearest millisecond
// so that stored fractions like 0.438194444444444 come out on the minute they were taken from.
bool decode(double serial, QDate& date, int& msOfDay)
{
    if (!std::isfinite(serial) || std::abs(serial) > kMaxSerial)
        return false;
    const qint64 total = daysToMilliseconds(serial);
    const qint64 days = total >= 0 ? total / kMsPerDay : -((-total + kMsPerDay - 1) / kMsPerDay);
    date = QDate::fromJulianDay(baseJulianDay() + days);
    msOfDay = int(total - days * kMsPerDay);
    return date.isValid();
}

std::function<double()>& nowProvider()
{
    static std::function<double()> provider;
    return provider;
}

} // namespace

qint64 daysToMilliseconds(double days)
{
    return std::llround(days * double(kMsPerDay));
}

double encodeDate(int year, int month, int day)
{
    const QDate date(year, month, day);
    return date.isValid() ? double(date.toJulianDay() - baseJulianDay()) : 0.0;
}

double encodeTime(int hour, int minute, int second, int msec)
{
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || msec < 0 ||
        msec > 999)
        return 0.0;
    return double(((hour * 60 + minute) * 60 + second) * 1000 + msec) / double(kMsPerDay);
}

double fromQDateTime(const QDateTime& dateTime)
{
    if (!dateTime.isValid())
        return 0.0;
    return double(dateTime.date().toJulianDay() - baseJulianDay()) +
           double(dateTime.time().msecsSinceStartOfDay()) / double(kMsPerDay);
}

QDateTime toQDateTime(double serial)
{
    QDate date;
    int ms = 0;
    if (!decode(serial, date, ms))
        return {};
    // A serial carries no time zone: UTC keeps every date and time valid (no clock-change gaps).
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(ms), Qt::UTC);
}

QString FormatDateTime(const QString& format, double serial)
{
    QDate date;
    int ms = 0;
    if (!decode(serial, date, ms))
        return {};
    struct Token
    {
        QStringView name;
        int value;
        int width;
    };
    // Longer tokens first, so that "yyyy" is not read as "yy" twice.
    const Token tokens[] = {
        {u"yyyy", date.year(), 4},   {u"yy", date.year() % 100, 2}, {u"mm", date.month(), 2},
        {u"m", date.month(), 1},     {u"dd", date.day(), 2},        {u"d", date.day(), 1},
        {u"hh", ms / 3'600'000, 2},  {u"h", ms / 3'600'000, 1},     {u"nn", ms / 60'000 % 60, 2},
        {u"n", ms / 60'000 % 60, 1}, {u"ss", ms / 1000 % 60, 2},    {u"s", ms / 1000 % 60, 1},
    };
    QString result;
    const QStringView rest(format);
    for (qsizetype i = 0; i < rest.size();) {
        const Token* match = nullptr;
        for (const Token& token : tokens) {
            if (rest.sliced(i).startsWith(token.name, Qt::CaseInsensitive)) {
                match = &token;
                break;
            }
        }
        if (match) {
            result += QStringLiteral("%1").arg(match->value, match->width, 10, QLatin1Char('0'));
            i += match->name.size();
        } else {
            result += rest[i++];
        }
    }
    return result;
}

QString ShortDate(double serial)
{
    return FormatDateTime(QStringLiteral("yyyy/mm/dd"), serial);
}

QString LongTime(double serial)
{
    return FormatDateTime(QStringLiteral("h:nn:ss"), serial);
}

double Now()
{
    if (const auto& provider = nowProvider())
        return provider();
    return fromQDateTime(QDateTime::currentDateTime());
}

void setNowProvider(std::function<double()> provider)
{
    nowProvider() = std::move(provider);
}

} // namespace platform::DateTime
