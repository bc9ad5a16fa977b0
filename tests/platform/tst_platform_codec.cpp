#include "platform/Codec.h"

#include <QTest>

using namespace platform;
using namespace Qt::Literals::StringLiterals;

// Byte values below are CP932 codes as Windows writes them, taken from the code page table.
class TestCodec : public QObject
{
    Q_OBJECT

private slots:
    void encode_data();
    void encode();
    void decodeDuplicateCodes_data();
    void decodeDuplicateCodes();
    void decodeInvalidBytes_data();
    void decodeInvalidBytes();
    void decodeAfterInvalidBytes();
    void byteLength_data();
    void byteLength();
    void compareBytes_data();
    void compareBytes();
    void unwritableChars_data();
    void unwritableChars();
    void mapLookAlikes_data();
    void mapLookAlikes();
    void unwritableTextsOpenNoConverter_data();
    void unwritableTextsOpenNoConverter();
};

void TestCodec::encode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("decoded"); // what the bytes read back as

    auto row = [](const char* name, const QString& text, const char* hex, const QString& decoded) {
        QTest::newRow(name) << text << QByteArray::fromHex(hex) << decoded;
    };
    auto same = [&row](const char* name, const QString& text, const char* hex) {
        row(name, text, hex, text);
    };

    same("ascii", u"Abc 1,2\\~"_s, "41 62 63 20 31 2c 32 5c 7e");
    same("halfWidthKatakana", u"ﾌｧｳﾙ"_s, "cc a7 b3 d9");
    same("kanji", u"東京"_s, "93 8c 8b 9e");
    same("katakanaAndChoon", u"チーム"_s, "83 60 81 5b 83 80");
    same("mixedWidths", u"ﾁｰﾑA東京"_s, "c1 b0 d1 41 93 8c 8b 9e");
    same("necCircledDigit", u"①"_s, "87 40");
    same("necRomanNumeral", u"Ⅰ"_s, "87 54");
    same("ibmSmallRoman", u"ⅰ"_s, "fa 40");
    same("ibmKanji", u"纊髙"_s, "fa 5c fb fc");
    same("ibmKanjiLastRow", u"黑"_s, "fc 4b");
    same("userDefinedArea", QString(QChar(0xE000)), "f0 40");
    same("empty", QString(), "");
    row("waveDashMapped", u"〜"_s, "81 60", u"～"_s);
    row("minusMapped", u"−"_s, "81 7c", u"－"_s);
    row("doubleVerticalMapped", u"‖"_s, "81 61", u"∥"_s);
    row("centMapped", u"¢"_s, "81 91", u"￠"_s);
    row("poundMapped", u"£"_s, "81 92", u"￡"_s);
    row("notSignMapped", u"¬"_s, "81 ca", u"￢"_s);
    row("emDashMapped", u"—"_s, "81 5c", u"―"_s);
    row("emojiBecomesQuestionMark", u"A😀B"_s, "41 3f 42", u"A?B"_s);
    row("supplementaryKanji", u"𠮷野"_s, "3f 96 ec", u"?野"_s);
    row("hangul", u"한A"_s, "3f 41", u"?A"_s);
    row("loneSurrogate", QString(QChar(0xD800)) + u'A', "3f 41", u"?A"_s);
}

void TestCodec::encode()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, decoded);
    QCOMPARE(Codec::toCp932(text).toHex(' '), bytes.toHex(' '));
    QCOMPARE(Codec::fromCp932(bytes), decoded);
}

void TestCodec::decodeDuplicateCodes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("written"); // the code Windows writes the character back as

    QTest::newRow("necSelectedIbmKanji") << QByteArray("\xed\x40") << u"纊"_s << QByteArray("\xfa\x5c");
    QTest::newRow("necSelectedIbmRoman") << QByteArray("\xee\xef") << u"ⅰ"_s << QByteArray("\xfa\x40");
    QTest::newRow("necBecause") << QByteArray("\x87\x9a") << u"∵"_s << QByteArray("\x81\xe6");
    QTest::newRow("ibmBecause") << QByteArray("\xfa\x5b") << u"∵"_s << QByteArray("\x81\xe6");
    QTest::newRow("ibmNotSign") << QByteArray("\xfa\x54") << u"￢"_s << QByteArray("\x81\xca");
    QTest::newRow("ibmRomanNumeral") << QByteArray("\xfa\x4a") << u"Ⅰ"_s << QByteArray("\x87\x54");
}

void TestCodec::decodeDuplicateCodes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(QByteArray, written);
    QCOMPARE(Codec::fromCp932(bytes), text);
    QCOMPARE(Codec::toCp932(text).toHex(' '), written.toHex(' '));
}

void TestCodec::decodeInvalidBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("undefinedSingleBytes") << QByteArray("A\x80\xa0\xfd\xfe\xffZ");
    QTest::newRow("badTrailByte") << QByteArray("A\x81\x20Z");
    QTest::newRow("trailByteDel") << QByteArray("A\x81\x7fZ");
    QTest::newRow("undefinedDoubleByte") << QByteArray("A\x85\x40Z");
    QTest::newRow("nulInside") << QByteArray("A\0Z", 3);
}

// Damaged files must decode without crashing and keep the readable text around the damage.
void TestCodec::decodeInvalidBytes()
{
    QFETCH(QByteArray, bytes);
    const QString text = Codec::fromCp932(bytes);
    QVERIFY(text.size() >= 2);
    QCOMPARE(text.front(), u'A');
    QCOMPARE(text.back(), u'Z');
}

// The decoder is shared between calls: a file ending in half a character must not spill into the next.
void TestCodec::decodeAfterInvalidBytes()
{
    Codec::fromCp932(QByteArray("abc\x81"));
    QCOMPARE(Codec::fromCp932(QByteArray("A")), u"A"_s);
    Codec::toCp932(u"😀"_s);
    QCOMPARE(Codec::toCp932(u"東"_s), QByteArray("\x93\x8c"));
    QVERIFY(Codec::canEncode(u"東"_s));
}

void TestCodec::byteLength_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("length");

    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("ascii") << u"abc"_s << 3;
    QTest::newRow("halfWidthKatakana") << u"ﾌｧｳﾙ"_s << 4;
    QTest::newRow("kanji") << u"東京"_s << 4;
    QTest::newRow("mixed") << u"ﾁｰﾑA東京"_s << 8;
    QTest::newRow("necExtension") << u"①ⅰ"_s << 4;
    QTest::newRow("mappedLookAlike") << u"〜"_s << 2;
    QTest::newRow("unwritableAsQuestionMark") << u"😀"_s << 1;
}

void TestCodec::byteLength()
{
    QFETCH(QString, text);
    QFETCH(int, length);
    QCOMPARE(Codec::byteLength(text), length);
}

void TestCodec::compareBytes_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("sign");

    QTest::newRow("equal") << u"東京"_s << u"東京"_s << 0;
    QTest::newRow("bothEmpty") << QString() << QString() << 0;
    QTest::newRow("digitsBytewise") << u"10"_s << u"4"_s << -1;
    QTest::newRow("digitsBytewiseReversed") << u"4"_s << u"10"_s << 1;
    QTest::newRow("prefixFirst") << u"ab"_s << u"abc"_s << -1;
    QTest::newRow("upperBeforeLower") << u"Z"_s << u"a"_s << -1;
    // 0xB1 against 0x41 and 0x83: only an unsigned comparison puts katakana after ASCII.
    QTest::newRow("halfWidthAfterAscii") << u"ｱ"_s << u"A"_s << 1;
    QTest::newRow("halfWidthAfterFullWidthKana") << u"ｱ"_s << u"ア"_s << 1;
    QTest::newRow("halfWidthBeforeHighKanji") << u"ｱ"_s << u"熙"_s << -1;
    QTest::newRow("kanjiByCodeNotUnicode") << u"亜"_s << u"漢"_s << -1; // 889F < 8ABF
    QTest::newRow("lookAlikeEqualsTarget") << u"〜"_s << u"～"_s << 0;
}

void TestCodec::compareBytes()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, sign);
    const int r = Codec::compareBytes(a, b);
    QCOMPARE((r > 0) - (r < 0), sign);
}

void TestCodec::unwritableChars_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("unwritable");

    QTest::newRow("japanese") << u"ﾁｰﾑA東京①ⅰ纊"_s << QString();
    QTest::newRow("lookAlikesAreWritable") << u"〜−‖¢£¬—"_s << QString();
    QTest::newRow("emojiOnceEach") << u"A😀B😀C😃"_s << u"😀😃"_s;
    QTest::newRow("supplementaryKanji") << u"𠮷野家"_s << u"𠮷"_s;
    QTest::newRow("hangulInOrder") << u"한국한"_s << u"한국"_s;
    QTest::newRow("accentedLatin") << u"café"_s << u"é"_s;
}

void TestCodec::unwritableChars()
{
    QFETCH(QString, text);
    QFETCH(QString, unwritable);
    QCOMPARE(Codec::unwritableChars(text), unwritable);
    QCOMPARE(Codec::canEncode(text), unwritable.isEmpty());
}

void TestCodec::mapLookAlikes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("mapped");

    QTest::newRow("waveDash") << u"1〜2"_s << u"1～2"_s;
    QTest::newRow("doubleVerticalLine") << u"‖"_s << u"∥"_s;
    QTest::newRow("minus") << u"−1"_s << u"－1"_s;
    QTest::newRow("cent") << u"¢"_s << u"￠"_s;
    QTest::newRow("pound") << u"£"_s << u"￡"_s;
    QTest::newRow("not") << u"¬"_s << u"￢"_s;
    QTest::newRow("emDash") << u"—"_s << u"―"_s;
    QTest::newRow("brokenBar") << u"¦"_s << u"￤"_s;
    QTest::newRow("othersUntouched") << u"～-|A東😀"_s << u"～-|A東😀"_s;
}

void TestCodec::mapLookAlikes()
{
    QFETCH(QString, text);
    QFETCH(QString, mapped);
    QCOMPARE(Codec::mapLookAlikes(text), mapped);
}

void TestCodec::unwritableTextsOpenNoConverter_data()
{
    QTest::addColumn<int>("operation");
    QTest::newRow("toCp932") << 0;
    QTest::newRow("byteLength") << 1;
    QTest::newRow("compareBytes") << 2;
    QTest::newRow("unwritableChars") << 3;
    QTest::newRow("canEncode") << 4;
}

void TestCodec::unwritableTextsOpenNoConverter()
{
    QFETCH(int, operation);
    QString text;
    for (int i = 0; i < 50; ++i)
        text += u"😀한"_s;
    text += u"東京"_s;
    Codec::toCp932(u"A"_s); // this thread's encoder is open
    const int openings = Codec::encoderOpenings();
    switch (operation) {
    case 0:
        QCOMPARE(Codec::toCp932(text), QByteArray(100, '?') + QByteArray("\x93\x8c\x8b\x9e"));
        break;
    case 1:
        QCOMPARE(Codec::byteLength(text), 104);
        break;
    case 2:
        QCOMPARE(Codec::compareBytes(text, u"?"_s), 1);
        break;
    case 3:
        QCOMPARE(Codec::unwritableChars(text), u"😀한"_s);
        break;
    default:
        QVERIFY(!Codec::canEncode(text));
        break;
    }
    QCOMPARE(Codec::encoderOpenings(), openings);
    // The error of one text does not stick to the next.
    QVERIFY(Codec::canEncode(u"東京"_s));
    QCOMPARE(Codec::toCp932(u"東京"_s), QByteArray("\x93\x8c\x8b\x9e"));
}

QTEST_APPLESS_MAIN(TestCodec)
#include "tst_platform_codec.moc"
