#pragma once

#include <functional>

#include <QDateTime>
#include <QString>

// Day serials as the programs store dates and times: days since 1899-12-30, the fraction being the
// time of day. Decoding rounds to milliseconds.
namespace platform::DateTime {

// 0 for a date or time that does not exist.
double encodeDate(int year, int month, int day);
double encodeTime(int hour, int minute, int second, int msec = 0);
double fromQDateTime(const QDateTime& dateTime);
// Local time. Invalid for a serial that is not finite or lies more than 3,000,000 days (some 8,000
// years) from the base, as only a damaged file gives; FormatDateTime gives "" for such a serial.
QDateTime toQDateTime(double serial);

// Tokens: yyyy yy mm dd hh nn ss (and h, n, s, m, d unpadded); other characters are copied.
// "mm" directly after "hh"/"h" still means month, as in the class library: the programs use "nn".
QString FormatDateTime(const QString& format, double serial);
QString ShortDate(double serial); // "yyyy/mm/dd"
QString LongTime(double serial);  // "h:nn:ss"

// Spans of time are day fractions too: court times, the game clock's readings.
constexpr double kSecondsPerDay = 86'400.0;
inline double secondsToDays(double seconds)
{
    return seconds * (1.0 / kSecondsPerDay);
}
inline double daysToSeconds(double days)
{
    return days * kSecondsPerDay;
}
// To the nearest millisecond, as decoding rounds a serial.
qint64 daysToMilliseconds(double days);

// The current local date and time as a serial; replaceable in tests.
double Now();
void setNowProvider(std::function<double()> provider); // empty function restores the clock

} // namespace platform::DateTime
