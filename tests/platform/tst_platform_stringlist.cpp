#include "platform/StringList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <optional>

#include "platform/testing/NonRegularFiles.h"
#include "support/FileHelpers.h"

using namespace platform;
using namespace Qt::Literals::StringLiterals;

using platform::testing::makeNonRegularFile;
using platform::testing::NoFileWrites;
using platform::testing::readBytes;
using platform::testing::writeBytes;

class TestStringList : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void load_data();
    void load();
    void loadRefused_data();
    void loadRefused();
    void save_data();
    void save();
    void saveReplacesFile();
    void saveFailure_data();
    void saveFailure();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestStringList::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestStringList::load_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("lf") << QByteArray("a\nb\n") << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("cr") << QByteArray("a\rb\r") << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("mixed") << QByteArray("a\r\nb\nc\rd") << QStringList{u"a"_s, u"b"_s, u"c"_s, u"d"_s};
    QTest::newRow("noFinalLineEnd") << QByteArray("a\r\nb") << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("emptyLineInMiddle") << QByteArray("a\r\n\r\nb\r\n") << QStringList{u"a"_s, u""_s, u"b"_s};
    QTest::newRow("lfThenCrIsTwoEnds") << QByteArray("a\n\rb") << QStringList{u"a"_s, u""_s, u"b"_s};
    QTest::newRow("onlyLineEnd") << QByteArray("\r\n") << QStringList{u""_s};
    QTest::newRow("twoEmptyLines") << QByteArray("\r\n\r\n") << QStringList{u""_s, u""_s};
    QTest::newRow("emptyFile") << QByteArray() << QStringList{};
    QTest::newRow("blanksKept") << QByteArray(" a \r\n") << QStringList{u" a "_s};
    QTest::newRow("cp932") << QByteArray("\xc1\xb0\xd1\x41\x93\x8c\x8b\x9e,\x87\x40\r\n")
                           << QStringList{u"ﾁｰﾑA東京,①"_s};
}

void TestStringList::load()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    const QString path = m_dir->filePath(u"in.txt"_s);
    writeBytes(path, bytes);
    StringList list{u"stale"_s};
    QVERIFY(list.loadFromFile(path));
    QCOMPARE(QStringList(list), lines);
}

void TestStringList::loadRefused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing file") << u"missing"_s;
    QTest::newRow("folder") << u"folder"_s;
    // Opening a pipe nobody writes to must not wait for a writer; /dev/zero must not be read for ever.
    QTest::newRow("fifo") << u"fifo"_s;
    QTest::newRow("link to /dev/zero") << u"zero"_s;
    QTest::newRow("larger than any file of the programs") << u"huge"_s;
}

// Anything but a regular file of a sane size is refused at once.
void TestStringList::loadRefused()
{
    QFETCH(QString, kind);
    const QString path = m_dir->filePath(u"in.txt"_s);
    if (kind == u"folder"_s) {
        QVERIFY(QDir().mkdir(path));
    } else if (kind == u"huge"_s) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(kMaxReadFileSize + 1)); // sparse: nothing is written
    } else if (kind != u"missing"_s) {
        QVERIFY(makeNonRegularFile(path, kind));
    }
    StringList list{u"stale"_s};
    QVERIFY(!list.loadFromFile(path));
    QVERIFY(list.isEmpty());
}

void TestStringList::save_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("crlfAfterLastLine") << QStringList{u"a"_s, u"b"_s} << QByteArray("a\r\nb\r\n");
    QTest::newRow("emptyListEmptyFile") << QStringList{} << QByteArray();
    QTest::newRow("oneEmptyLine") << QStringList{u""_s} << QByteArray("\r\n");
    QTest::newRow("emptyLineInMiddle") << QStringList{u"a"_s, u""_s, u"b"_s} << QByteArray("a\r\n\r\nb\r\n");
    QTest::newRow("cp932") << QStringList{u"ﾁｰﾑA東京"_s, u"①ⅰ"_s}
                           << QByteArray("\xc1\xb0\xd1\x41\x93\x8c\x8b\x9e\r\n\x87\x40\xfa\x40\r\n");
    QTest::newRow("lookAlikeMapped") << QStringList{u"1〜2"_s} << QByteArray::fromHex("31 8160 32 0d0a");
}

void TestStringList::save()
{
    QFETCH(QStringList, lines);
    QFETCH(QByteArray, bytes);
    const QString path = m_dir->filePath(u"out.txt"_s);
    QVERIFY(StringList(lines).saveToFile(path));
    QCOMPARE(readBytes(path), bytes);
}

void TestStringList::saveReplacesFile()
{
    const QString path = m_dir->filePath(u"out.txt"_s);
    writeBytes(path, "old content that is longer\r\n");
    QVERIFY(StringList{u"new"_s}.saveToFile(path));
    QCOMPARE(readBytes(path), QByteArray("new\r\n"));
}

void TestStringList::saveFailure_data()
{
    QTest::addColumn<QString>("target"); // relative to the temporary folder
    QTest::addColumn<bool>("writesFail");

    QTest::newRow("missingFolder") << u"nofolder/out.txt"_s << false;
    QTest::newRow("parentIsAFile") << u"old.txt/out.txt"_s << false;
    QTest::newRow("targetIsAFolder") << u"folder"_s << false;
    QTest::newRow("existingFileWriteFails") << u"old.txt"_s << true;
}

// A failed save reports false and leaves whatever was there untouched.
void TestStringList::saveFailure()
{
    QFETCH(QString, target);
    QFETCH(bool, writesFail);
    const QByteArray old("old\r\n");
    writeBytes(m_dir->filePath(u"old.txt"_s), old);
    QVERIFY(QDir(m_dir->path()).mkdir(u"folder"_s));
    const StringList lines{u"new"_s, u"東京"_s};

    bool saved = true;
    {
        std::optional<NoFileWrites> guard;
        if (writesFail)
            guard.emplace();
        saved = lines.saveToFile(m_dir->filePath(target));
    }
    QVERIFY(!saved);
    QCOMPARE(readBytes(m_dir->filePath(u"old.txt"_s)), old);
    QVERIFY(QFileInfo(m_dir->filePath(u"folder"_s)).isDir());
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             (QStringList{u"folder"_s, u"old.txt"_s})); // no temporary file left behind
}

QTEST_GUILESS_MAIN(TestStringList)
#include "tst_platform_stringlist.moc"
