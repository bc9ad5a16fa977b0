#include "platform/Convert.h"
#include "platform/DateTime.h"
#include "platform/testing/NumericLocale.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace platform;
using namespace Qt::Literals::StringLiterals;

class TestConvert : public QObject
{
    Q_OBJECT

private slots:
    void strToInt_data();
    void strToInt();
    void strToFloat_data();
    void strToFloat();
    void floatToStr_data();
    void floatToStr();
    void format();
    void numberTextsIgnoreTheLocale_data();
    void numberTextsIgnoreTheLocale();

    void encodeDate_data();
    void encodeDate();
    void toQDateTime_data();
    void toQDateTime();
    void fromQDateTimeRoundTrip();
    void formatDateTime_data();
    void formatDateTime();
    void badSerials_data();
    void badSerials();
    void nowProvider();
    void spans_data();
    void spans();
};

void TestConvert::strToInt_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<int>>("value");

    QTest::newRow("plain") << u"42"_s << std::optional(42);
    QTest::newRow("blanksAround") << u" \t42 "_s << std::optional(42);
    QTest::newRow("negative") << u"-7"_s << std::optional(-7);
    QTest::newRow("plusSign") << u"+7"_s << std::optional(7);
    QTest::newRow("leadingZeros") << u"007"_s << std::optional(7);
    QTest::newRow("max") << u"2147483647"_s << std::optional(2147483647);
    QTest::newRow("min") << u"-2147483648"_s << std::optional(std::numeric_limits<int>::min());
    QTest::newRow("overMax") << u"2147483648"_s << std::optional<int>();
    QTest::newRow("underMin") << u"-2147483649"_s << std::optional<int>();
    QTest::newRow("huge") << u"99999999999999999999999"_s << std::optional<int>();
    QTest::newRow("empty") << u""_s << std::optional<int>();
    QTest::newRow("blank") << u"  "_s << std::optional<int>();
    QTest::newRow("signOnly") << u"-"_s << std::optional<int>();
    QTest::newRow("twoSigns") << u"+-1"_s << std::optional<int>();
    QTest::newRow("blankAfterSign") << u"- 1"_s << std::optional<int>();
    QTest::newRow("letters") << u"abc"_s << std::optional<int>();
    QTest::newRow("trailingJunk") << u"12abc"_s << std::optional<int>();
    QTest::newRow("hex") << u"0x10"_s << std::optional<int>();
    QTest::newRow("fraction") << u"1.5"_s << std::optional<int>();
    QTest::newRow("groupSeparator") << u"1,000"_s << std::optional<int>();
    QTest::newRow("fullWidthDigits") << u"１２"_s << std::optional<int>();
}

void TestConvert::strToInt()
{
    QFETCH(QString, text);
    QFETCH(std::optional<int>, value);
    QCOMPARE(StrToInt(text), value);
    QCOMPARE(StrToIntDef(text, -99), value.value_or(-99));
}

void TestConvert::strToFloat_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<double>>("value");

    QTest::newRow("dot") << u"45000.5"_s << std::optional(45000.5);
    QTest::newRow("comma") << u"0,5"_s << std::optional(0.5);
    QTest::newRow("integer") << u"-1"_s << std::optional(-1.0);
    QTest::newRow("plusSign") << u"+2.5"_s << std::optional(2.5);
    QTest::newRow("blanksAround") << u" 2.5 "_s << std::optional(2.5);
    QTest::newRow("exponent") << u"1.5E-6"_s << std::optional(1.5e-6);
    QTest::newRow("dayFraction") << u"0.438194444444444"_s << std::optional(0.438194444444444);
    QTest::newRow("empty") << u""_s << std::optional<double>();
    QTest::newRow("nan") << u"nan"_s << std::optional<double>();
    QTest::newRow("nanUpper") << u"NAN"_s << std::optional<double>();
    QTest::newRow("inf") << u"inf"_s << std::optional<double>();
    QTest::newRow("minusInfinity") << u"-Infinity"_s << std::optional<double>();
    QTest::newRow("overflow") << u"1e999"_s << std::optional<double>();
    QTest::newRow("letters") << u"abc"_s << std::optional<double>();
    QTest::newRow("trailingJunk") << u"1.5x"_s << std::optional<double>();
    QTest::newRow("twoSeparators") << u"1,000.5"_s << std::optional<double>();
    QTest::newRow("twoSigns") << u"+-1"_s << std::optional<double>();
    QTest::newRow("signOnly") << u"+"_s << std::optional<double>();
    QTest::newRow("hex") << u"0x10"_s << std::optional<double>();
    QTest::newRow("fullWidthDigits") << u"１.５"_s << std::optional<double>();
}

void TestConvert::strToFloat()
{
    QFETCH(QString, text);
    QFETCH(std::optional<double>, value);
    QCOMPARE(StrToFloat(text), value);
}

void TestConvert::floatToStr_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("zero") << 0.0 << u"0"_s;
    QTest::newRow("negativeZero") << -0.0 << u"0"_s;
    QTest::newRow("one") << 1.0 << u"1"_s;
    QTest::newRow("minusOne") << -1.0 << u"-1"_s;
    QTest::newRow("half") << 45000.5 << u"45000.5"_s;
    QTest::newRow("serialFifteenDigits") << 39441.9965277778 << u"39441.9965277778"_s;
    QTest::newRow("fiveSeconds") << 5.0 / 86400 << u"0.0000578703703703704"_s;
    QTest::newRow("tenMinutes") << 600.0 / 86400 << u"0.00694444444444444"_s;
    QTest::newRow("150Seconds") << 150.0 / 86400 << u"0.00173611111111111"_s;
    QTest::newRow("roundsUp") << 2.0 / 3 << u"0.666666666666667"_s;
    QTest::newRow("binaryNoise") << 0.1 + 0.2 << u"0.3"_s;
    QTest::newRow("negativeFraction") << -0.25 << u"-0.25"_s;
    QTest::newRow("trailingIntegerZeros") << 1200.0 << u"1200"_s;
    QTest::newRow("smallestFixed") << 1e-5 << u"0.00001"_s;
    QTest::newRow("belowFixed") << 1e-6 << u"1E-6"_s;
    QTest::newRow("belowFixedDigits") << 0.5 / 86400 << u"5.78703703703704E-6"_s;
    QTest::newRow("fifteenIntegerDigits") << 123456789012345.0 << u"123456789012345"_s;
    QTest::newRow("sixteenIntegerDigits") << 1e15 << u"1E15"_s;
    QTest::newRow("large") << 1e20 << u"1E20"_s;
    QTest::newRow("largeDigits") << -1.5e20 << u"-1.5E20"_s;
    QTest::newRow("roundingCarriesToFixed") << 9.9999999999999999e-6 << u"0.00001"_s;
}

void TestConvert::floatToStr()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(FloatToStr(value), text);
}

void TestConvert::format()
{
    QCOMPARE(Format("%02d:%03d", 5, 7), u"05:007"_s);
    QCOMPARE(Format("%06x", 0xABC), u"000abc"_s);
    QCOMPARE(Format("%02.1f", 3.14159), u"3.1"_s);
    QCOMPARE(Format("%s=%d", "東京", -1), u"東京=-1"_s); // %s is UTF-8
    // Exact halves round as the C library rounds them, to even.
    QCOMPARE(Format("%02.1f", 6.25), u"6.2"_s);
    QCOMPARE(Format("%02.1f", 6.75), u"6.8"_s);
    QCOMPARE(Format("%s", QByteArray(300, 'x').constData()), QString(300, u'x'));
}

void TestConvert::numberTextsIgnoreTheLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QByteArray>("separator"); // the locale's own, checked to be in force
    QTest::newRow("German, comma") << u"de_DE.UTF-8"_s << QByteArray(",");
    QTest::newRow("Pashto, two-byte separator") << u"ps_AF.UTF-8"_s << QByteArray("\xd9\xab");
}

void TestConvert::numberTextsIgnoreTheLocale()
{
    QFETCH(QString, locale);
    QFETCH(QByteArray, separator);
    platform::testing::NumericLocale numeric(locale);
    QVERIFY2(numeric.error().isEmpty(), qPrintable(numeric.error()));
    QCOMPARE(platform::testing::NumericLocale::decimalPoint(), separator);

    QCOMPARE(FloatToStr(45430.6041666667), u"45430.6041666667"_s);
    QCOMPARE(FloatToStr(5.0 / 86400), u"0.0000578703703703704"_s);
    QCOMPARE(FloatToStr(0.5 / 86400), u"5.78703703703704E-6"_s);
    QCOMPARE(FloatToStr(-1.5e20), u"-1.5E20"_s);
    QCOMPARE(Format("%02.1f", 3.14159), u"3.1"_s);
    QCOMPARE(Format("%02.1f", 6.25), u"6.2"_s);
    QCOMPARE(StrToFloat(u"45430.5"_s), std::optional(45430.5));
    QCOMPARE(StrToFloat(u"45430,5"_s), std::optional(45430.5));
}

void TestConvert::encodeDate_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<double>("serial");

    QTest::newRow("base") << QDate(1899, 12, 30) << 0.0;
    QTest::newRow("1900-01-01") << QDate(1900, 1, 1) << 2.0;
    QTest::newRow("1900-03-01") << QDate(1900, 3, 1) << 61.0; // no phantom 1900-02-29
    QTest::newRow("leapDay2000") << QDate(2000, 2, 29) << 36585.0;
    QTest::newRow("2024-05-01") << QDate(2024, 5, 1) << 45413.0;
    QTest::newRow("9999-12-31") << QDate(9999, 12, 31) << 2958465.0;
}

void TestConvert::encodeDate()
{
    QFETCH(QDate, date);
    QFETCH(double, serial);
    QCOMPARE(DateTime::encodeDate(date.year(), date.month(), date.day()), serial);
    QCOMPARE(DateTime::toQDateTime(serial), QDateTime(date, QTime(0, 0)));
}

void TestConvert::toQDateTime_data()
{
    QTest::addColumn<double>("serial");
    QTest::addColumn<QDateTime>("dateTime");

    const QDate may1(2024, 5, 1);
    QTest::newRow("noon") << 45413.5 << QDateTime(may1, QTime(12, 0));
    QTest::newRow("encodeTime") << 45413 + DateTime::encodeTime(10, 31, 5, 250)
                                << QDateTime(may1, QTime(10, 31, 5, 250));
    QTest::newRow("fifteenDigitsRoundsUp") << 45413.438194444444444 << QDateTime(may1, QTime(10, 31));
    QTest::newRow("roundsIntoNextDay") << 45413.9999999999 << QDateTime(may1.addDays(1), QTime(0, 0));
}

void TestConvert::toQDateTime()
{
    QFETCH(double, serial);
    QFETCH(QDateTime, dateTime);
    QCOMPARE(DateTime::toQDateTime(serial), dateTime);
}

void TestConvert::fromQDateTimeRoundTrip()
{
    const QDateTime moment(QDate(2024, 5, 1), QTime(10, 31, 0, 1));
    const double serial = DateTime::fromQDateTime(moment);
    QCOMPARE(serial, 45413 + DateTime::encodeTime(10, 31, 0, 1));
    QCOMPARE(DateTime::toQDateTime(serial), moment);
    QCOMPARE(DateTime::fromQDateTime(QDateTime()), 0.0);
}

void TestConvert::formatDateTime_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<double>("serial");
    QTest::addColumn<QString>("text");

    const double morning = 45413 + DateTime::encodeTime(9, 5, 7); // 2024-05-01 09:05:07
    QTest::newRow("roundedMinute") << u"hh:nn"_s << 0.438194444444444 << u"10:31"_s;
    QTest::newRow("dottedDate") << u"yyyy.mm.dd"_s << 45413.0 << u"2024.05.01"_s;
    QTest::newRow("padded") << u"yyyy/mm/dd hh:nn:ss"_s << morning << u"2024/05/01 09:05:07"_s;
    QTest::newRow("unpadded") << u"yy/m/d h:n:s"_s << morning << u"24/5/1 9:5:7"_s;
    QTest::newRow("monthAfterHour") << u"hh mm"_s << morning << u"09 05"_s;
    QTest::newRow("upperCase") << u"YYYY-MM-DD"_s << morning << u"2024-05-01"_s;
    QTest::newRow("otherTextCopied") << u"yyyy年m月d日 (x)"_s << morning << u"2024年5月1日 (x)"_s;
    QTest::newRow("lateEvening") << u"hh:nn:ss"_s << 45413 + DateTime::encodeTime(23, 59, 59)
                                 << u"23:59:59"_s;
    QTest::newRow("base") << u"yyyy/mm/dd"_s << 0.0 << u"1899/12/30"_s;
}

void TestConvert::formatDateTime()
{
    QFETCH(QString, format);
    QFETCH(double, serial);
    QFETCH(QString, text);
    QCOMPARE(DateTime::FormatDateTime(format, serial), text);
}

void TestConvert::badSerials_data()
{
    QTest::addColumn<double>("serial");

    QTest::newRow("nan") << std::nan("");
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity();
    QTest::newRow("huge") << 1e300;
    QTest::newRow("hugeNegative") << -1e300;
}

// Serials from damaged files give an empty text and an invalid date, never a crash.
void TestConvert::badSerials()
{
    QFETCH(double, serial);
    QCOMPARE(DateTime::FormatDateTime(u"yyyy/mm/dd hh:nn:ss"_s, serial), QString());
    QVERIFY(!DateTime::toQDateTime(serial).isValid());
    DateTime::LongTime(-1.25); // negative serials are not used, but must not crash
}

void TestConvert::nowProvider()
{
    DateTime::setNowProvider([] { return 45413.5; });
    QCOMPARE(DateTime::Now(), 45413.5);
    QCOMPARE(DateTime::ShortDate(DateTime::Now()), u"2024/05/01"_s);
    QCOMPARE(DateTime::LongTime(DateTime::Now()), u"12:00:00"_s);

    DateTime::setNowProvider({});
    const double clock = DateTime::fromQDateTime(QDateTime::currentDateTime());
    QVERIFY(std::abs(DateTime::Now() - clock) < 1.0 / 86400); // within a second
}

void TestConvert::spans_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<QString>("stored");
    QTest::newRow("tenMinutes") << 600.0 << u"0.00694444444444444"_s;
    QTest::newRow("oneSecond") << 1.0 << u"0.0000115740740740741"_s;
    QTest::newRow("halfSecond") << 0.5 << u"5.78703703703704E-6"_s;
}

void TestConvert::spans()
{
    QFETCH(double, seconds);
    const double days = DateTime::secondsToDays(seconds);
    QTEST(FloatToStr(days), "stored");
    QCOMPARE(DateTime::daysToSeconds(days), seconds);
    QCOMPARE(DateTime::daysToMilliseconds(days), qint64(seconds * 1000));
}

QTEST_APPLESS_MAIN(TestConvert)
#include "tst_platform_convert.moc"
