#include "platform/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <csignal>
#include <memory>
#include <thread>

#include "platform/testing/NonRegularFiles.h"
#include "support/FileHelpers.h"

using namespace platform;
using namespace Qt::Literals::StringLiterals;

using platform::testing::makeNonRegularFile;
using platform::testing::NoFileWrites;
using platform::testing::readBytes;
using platform::testing::writeBytes;

namespace {

// "ﾁｰﾑA東京" in CP932.
const QByteArray kTeamBytes("\xc1\xb0\xd1\x41\x93\x8c\x8b\x9e");

} // namespace

class TestIniFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void readString_data();
    void readString();
    void readInteger_data();
    void readInteger();
    void readBool_data();
    void readBool();
    void exists();
    void missingFile();
    void write_data();
    void write();
    void writeTypes();
    void writeCp932RoundTrip();
    void writeFailure();
    void writeKeepsChangesMadeMeanwhile_data();
    void writeKeepsChangesMadeMeanwhile();
    void untouchedLinesKeepTheirBytes();
    void writeValuesInOneGo();
    void unreadableAtWriteTime_data();
    void unreadableAtWriteTime();
    void twoWritersLoseNothing();

private:
    QString path() const { return m_dir->filePath(u"Hooptally.ini"_s); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestIniFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestIniFile::readString_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value"); // "<default>" when the default comes back

    const QByteArray option("[Option]\r\nFilePath=C:\\data\r\n");
    QTest::newRow("exact") << option << u"Option"_s << u"FilePath"_s << u"C:\\data"_s;
    QTest::newRow("sectionCaseInsensitive") << option << u"option"_s << u"FilePath"_s << u"C:\\data"_s;
    QTest::newRow("keyCaseInsensitive") << option << u"Option"_s << u"FILEPATH"_s << u"C:\\data"_s;
    QTest::newRow("missingKey") << option << u"Option"_s << u"Other"_s << u"<default>"_s;
    QTest::newRow("missingSection") << option << u"Team"_s << u"FilePath"_s << u"<default>"_s;
    QTest::newRow("trimmed") << QByteArray("[Option]\r\n Key = value \r\n") << u"Option"_s << u"Key"_s
                             << u"value"_s;
    QTest::newRow("sectionNameTrimmed")
        << QByteArray(" [ Option ] \r\nKey=v\r\n") << u"Option"_s << u"Key"_s << u"v"_s;
    QTest::newRow("keyWithBlankInside")
        << QByteArray("[A]\r\nTeam Name=x\r\n") << u"A"_s << u"Team Name"_s << u"x"_s;
    QTest::newRow("emptyValueIsNotDefault") << QByteArray("[A]\r\nKey=\r\n") << u"A"_s << u"Key"_s << u""_s;
    QTest::newRow("blankValueIsEmpty") << QByteArray("[A]\r\nKey=   \r\n") << u"A"_s << u"Key"_s << u""_s;
    QTest::newRow("equalsInValue") << QByteArray("[A]\r\nKey=a=b\r\n") << u"A"_s << u"Key"_s << u"a=b"_s;
    QTest::newRow("rawBackslashComma")
        << QByteArray("[A]\r\nKey=\\n,\\\\x,\"q\"\r\n") << u"A"_s << u"Key"_s << u"\\n,\\\\x,\"q\""_s;
    QTest::newRow("firstKeyWins") << QByteArray("[A]\r\nKey=1\r\nkey=2\r\n") << u"A"_s << u"Key"_s << u"1"_s;
    QTest::newRow("firstSectionWins")
        << QByteArray("[A]\r\nKey=1\r\n[a]\r\nKey=2\r\n") << u"A"_s << u"Key"_s << u"1"_s;
    QTest::newRow("noLeakIntoNextSection")
        << QByteArray("[A]\r\nX=1\r\n[B]\r\nKey=2\r\n") << u"A"_s << u"Key"_s << u"<default>"_s;
    QTest::newRow("keyBeforeAnySection")
        << QByteArray("Key=0\r\n[A]\r\nX=1\r\n") << u"A"_s << u"Key"_s << u"<default>"_s;
    QTest::newRow("commentIgnored") << QByteArray("[A]\r\n;Key=1\r\n  ; Key=2\r\nKey=3\r\n") << u"A"_s
                                    << u"Key"_s << u"3"_s;
    QTest::newRow("malformedIgnored")
        << QByteArray("[A]\r\nKey\r\ngarbage\r\n[broken\r\nKey=4\r\n") << u"A"_s << u"Key"_s << u"4"_s;
    QTest::newRow("lfOnly") << QByteArray("[A]\nX=1\nKey=5\n[B]\nKey=6\n") << u"A"_s << u"Key"_s << u"5"_s;
    QTest::newRow("noFinalLineEnd") << QByteArray("[A]\r\nKey=7") << u"A"_s << u"Key"_s << u"7"_s;
    QTest::newRow("cp932Value") << "[Team]\r\nName=" + kTeamBytes + "\r\n"
                                << u"Team"_s << u"Name"_s << u"ﾁｰﾑA東京"_s;
    // A comment fills the file up to the bound, and one byte past it.
    const QByteArray keyed("[A]\r\nKey=8\r\n;");
    const QByteArray atBound = keyed + QByteArray(platform::kMaxIniFileSize - keyed.size(), 'x');
    QTest::newRow("atTheBound") << atBound << u"A"_s << u"Key"_s << u"8"_s;
    QTest::newRow("pastTheBound") << atBound + 'x' << u"A"_s << u"Key"_s << u"<default>"_s;
}

void TestIniFile::readString()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    writeBytes(path(), file);
    const IniFile ini(path());
    QCOMPARE(ini.readString(section, key, u"<default>"_s), value);
}

void TestIniFile::readInteger_data()
{
    QTest::addColumn<QByteArray>("value"); // written as "[A]\r\nKey=<value>"
    QTest::addColumn<int>("result");

    QTest::newRow("decimal") << QByteArray("12") << 12;
    QTest::newRow("negativeWithBlanks") << QByteArray(" -5 ") << -5;
    QTest::newRow("letters") << QByteArray("abc") << -1;
    QTest::newRow("empty") << QByteArray("") << -1;
    QTest::newRow("hex") << QByteArray("0x10") << -1;
    QTest::newRow("trailingJunk") << QByteArray("12abc") << -1;
    QTest::newRow("fraction") << QByteArray("1.5") << -1;
    QTest::newRow("overflow") << QByteArray("99999999999") << -1;
}

void TestIniFile::readInteger()
{
    QFETCH(QByteArray, value);
    QFETCH(int, result);
    writeBytes(path(), "[A]\r\nKey=" + value + "\r\n");
    const IniFile ini(path());
    QCOMPARE(ini.readInteger(u"A"_s, u"Key"_s, -1), result);
    QCOMPARE(ini.readInteger(u"A"_s, u"Missing"_s, 77), 77);
}

void TestIniFile::readBool_data()
{
    QTest::addColumn<QByteArray>("value"); // written as "[A]\r\nKey=<value>"
    QTest::addColumn<bool>("whenDefaultFalse");
    QTest::addColumn<bool>("whenDefaultTrue");

    QTest::newRow("one") << QByteArray("1") << true << true;
    QTest::newRow("zero") << QByteArray("0") << false << false;
    QTest::newRow("two") << QByteArray("2") << true << true;
    QTest::newRow("minusOne") << QByteArray("-1") << true << true;
    QTest::newRow("wordTrue") << QByteArray("true") << false << true;
    QTest::newRow("empty") << QByteArray("") << false << true;
}

void TestIniFile::readBool()
{
    QFETCH(QByteArray, value);
    QFETCH(bool, whenDefaultFalse);
    QFETCH(bool, whenDefaultTrue);
    writeBytes(path(), "[A]\r\nKey=" + value + "\r\n");
    const IniFile ini(path());
    QCOMPARE(ini.readBool(u"A"_s, u"Key"_s, false), whenDefaultFalse);
    QCOMPARE(ini.readBool(u"A"_s, u"Key"_s, true), whenDefaultTrue);
    QCOMPARE(ini.readBool(u"A"_s, u"Missing"_s, true), true);
}

void TestIniFile::exists()
{
    writeBytes(path(), "[Option]\r\nEmpty=\r\n;Comment=1\r\nBare\r\n[Other]\r\n");
    const IniFile ini(path());
    const QString absent = u"<absent>"_s;
    QCOMPARE(ini.readString(u"OPTION"_s, u"empty"_s, absent), QString());
    QCOMPARE(ini.readString(u"Option"_s, u"Comment"_s, absent), absent);
    QCOMPARE(ini.readString(u"Option"_s, u"Bare"_s, absent), absent);
    QCOMPARE(ini.readString(u"Other"_s, u"Empty"_s, absent), absent);
}

void TestIniFile::missingFile()
{
    IniFile ini(path());
    QCOMPARE(ini.readString(u"A"_s, u"Key"_s, u"def"_s), u"def"_s);
    QCOMPARE(ini.readInteger(u"A"_s, u"Key"_s, 3), 3);
    QVERIFY(!QFile::exists(path())); // reading creates nothing
    QVERIFY(ini.writeValues({IniValue::text(u"A"_s, u"Key"_s, u"v"_s)}));
    QCOMPARE(readBytes(path()), QByteArray("[A]\r\nKey=v\r\n"));
}

void TestIniFile::write_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    const QByteArray two("[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
    QTest::newRow("replaceInPlace") << two << u"a"_s << u"X"_s << u"9"_s
                                    << QByteArray("[A]\r\nX=9\r\n\r\n[B]\r\ny=2\r\n");
    QTest::newRow("newKeyBeforeBlankLine")
        << two << u"A"_s << u"z"_s << u"3"_s << QByteArray("[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n");
    QTest::newRow("newKeyInLastSection")
        << two << u"b"_s << u"w"_s << u"4"_s << QByteArray("[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\nw=4\r\n");
    QTest::newRow("newSectionAtEnd") << two << u"C"_s << u"k"_s << u"v"_s
                                     << QByteArray("[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n[C]\r\nk=v\r\n");
    QTest::newRow("newKeyInEmptySection") << QByteArray("[A]\r\n[B]\r\ny=2\r\n") << u"A"_s << u"k"_s << u"v"_s
                                          << QByteArray("[A]\r\nk=v\r\n[B]\r\ny=2\r\n");
    QTest::newRow("paddedKeyReplaced")
        << QByteArray("[A]\r\n x = 1 \r\n") << u"A"_s << u" x "_s << u"2"_s << QByteArray("[A]\r\nx=2\r\n");
    QTest::newRow("commentsAndMalformedKept")
        << QByteArray("; top\r\n[A]\r\n;x=0\r\nbare\r\nx=1\r\n") << u"A"_s << u"x"_s << u"5"_s
        << QByteArray("; top\r\n[A]\r\n;x=0\r\nbare\r\nx=5\r\n");
    QTest::newRow("firstOfDuplicatesReplaced") << QByteArray("[A]\r\nx=1\r\nx=2\r\n") << u"A"_s << u"x"_s
                                               << u"3"_s << QByteArray("[A]\r\nx=3\r\nx=2\r\n");
    QTest::newRow("lfFileWrittenWithCrlf")
        << QByteArray("[A]\nx=1\n") << u"A"_s << u"y"_s << u"2"_s << QByteArray("[A]\r\nx=1\r\ny=2\r\n");
    QTest::newRow("rawValue") << QByteArray("[A]\r\n") << u"A"_s << u"Path"_s << u"C:\\a,b=c"_s
                              << QByteArray("[A]\r\nPath=C:\\a,b=c\r\n");
}

// Every write reaches the file at once; the file bytes are compared as written by hand.
void TestIniFile::write()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);
    writeBytes(path(), before);
    IniFile ini(path());
    QVERIFY(ini.writeValues({IniValue::text(section, key, value)}));
    QCOMPARE(readBytes(path()), after);
    QCOMPARE(ini.readString(section, key, u"<default>"_s), value.trimmed());
    QCOMPARE(IniFile(path()).readString(section, key, u"<default>"_s), value.trimmed());
}

void TestIniFile::writeTypes()
{
    IniFile ini(path());
    QVERIFY(ini.writeBool(u"A"_s, u"On"_s, true));
    QVERIFY(ini.writeBool(u"A"_s, u"Off"_s, false));
    QVERIFY(ini.writeInteger(u"A"_s, u"Count"_s, -12));
    QCOMPARE(readBytes(path()), QByteArray("[A]\r\nOn=1\r\nOff=0\r\nCount=-12\r\n"));
    const IniFile reread(path());
    QCOMPARE(reread.readBool(u"A"_s, u"On"_s, false), true);
    QCOMPARE(reread.readBool(u"A"_s, u"Off"_s, true), false);
    QCOMPARE(reread.readInteger(u"A"_s, u"Count"_s, 0), -12);
}

void TestIniFile::writeCp932RoundTrip()
{
    IniFile ini(path());
    QVERIFY(ini.writeValues({IniValue::text(u"チーム"_s, u"Name"_s, u"ﾁｰﾑA東京"_s)}));
    QCOMPARE(readBytes(path()), "[\x83\x60\x81\x5b\x83\x80]\r\nName=" + kTeamBytes + "\r\n");
    QCOMPARE(IniFile(path()).readString(u"チーム"_s, u"name"_s, QString()), u"ﾁｰﾑA東京"_s);
}

// A write that cannot reach the file reports false and why, keeps the file as it was and the value in force.
void TestIniFile::writeFailure()
{
    // No write makes a file the next read would refuse.
    const QByteArray nearBound = "[A]\r\nx=1\r\n;" + QByteArray(platform::kMaxIniFileSize - 20, 'x') + "\r\n";
    const QString fullPath = m_dir->filePath(u"full.ini"_s);
    writeBytes(fullPath, nearBound);
    IniFile full(fullPath);
    QVERIFY(full.isReadable());
    QVERIFY(!full.writeValues({IniValue::text(u"A"_s, u"y"_s, u"long enough to pass the bound"_s)}));
    QCOMPARE(full.errorString(), u"the file would be larger than 1048576 bytes"_s);
    QCOMPARE(readBytes(fullPath), nearBound);

    const QByteArray old("[A]\r\nx=1\r\n");
    writeBytes(path(), old);
    IniFile ini(path());
    bool written = true;
    {
        NoFileWrites guard;
        written = ini.writeValues({IniValue::text(u"A"_s, u"x"_s, u"2"_s)});
    }
    QVERIFY(!written);
    QCOMPARE(ini.errorString(), u"cannot make the lock file "_s + path() + u".lock"_s);
    QLockFile other(path() + u".lock"_s);
    QVERIFY(other.tryLock(0));
    QVERIFY(!ini.writeValues({IniValue::text(u"A"_s, u"x"_s, u"2"_s)}));
    QVERIFY(ini.errorString().startsWith(u"still locked by another program"_s));
    QCOMPARE(readBytes(path()), old);
    QCOMPARE(ini.readString(u"A"_s, u"x"_s, QString()), u"2"_s);

    const QString inMissingFolder = m_dir->filePath(u"missing/Hooptally.ini"_s);
    IniFile orphan(inMissingFolder);
    QVERIFY(!orphan.writeInteger(u"A"_s, u"n"_s, 5));
    QCOMPARE(orphan.readInteger(u"A"_s, u"n"_s, 0), 5);
    QVERIFY(!QDir(m_dir->filePath(u"missing"_s)).exists());

    // Past the lock, the system's reason for refusing the file itself.
    QVERIFY(QFile::link(inMissingFolder, m_dir->filePath(u"link.ini"_s)));
    IniFile linked(m_dir->filePath(u"link.ini"_s));
    QVERIFY(!linked.writeInteger(u"A"_s, u"n"_s, 5));
    QVERIFY(linked.errorString().contains(u"No such file"_s));
}

// Another program or a person changes the file while it is open; a write changes its own key only.
void TestIniFile::writeKeepsChangesMadeMeanwhile_data()
{
    QTest::addColumn<QByteArray>("meanwhile"); // the file as changed from outside; "<gone>" deletes it
    QTest::addColumn<QByteArray>("after");     // after writing [Option] FilePath=D

    QTest::newRow("section added") << QByteArray("[Option]\r\nFilePath=C\r\n[Html]\r\nPlayerDisp=1\r\n")
                                   << QByteArray("[Option]\r\nFilePath=D\r\n[Html]\r\nPlayerDisp=1\r\n");
    QTest::newRow("other key changed") << QByteArray("[Option]\r\nFilePath=C\r\nPlayTime=9\r\n")
                                       << QByteArray("[Option]\r\nFilePath=D\r\nPlayTime=9\r\n");
    QTest::newRow("other key removed")
        << QByteArray("[Option]\r\nFilePath=C\r\n") << QByteArray("[Option]\r\nFilePath=D\r\n");
    QTest::newRow("the key itself changed") << QByteArray("[Option]\r\nPlayTime=5\r\nFilePath=E\r\n")
                                            << QByteArray("[Option]\r\nPlayTime=5\r\nFilePath=D\r\n");
    QTest::newRow("section moved") << QByteArray("[Kojin]\r\n0=1\r\n\r\n[Option]\r\nPlayTime=5\r\n")
                                   << QByteArray(
                                          "[Kojin]\r\n0=1\r\n\r\n[Option]\r\nPlayTime=5\r\nFilePath=D\r\n");
    QTest::newRow("file deleted") << QByteArray("<gone>") << QByteArray("[Option]\r\nFilePath=D\r\n");
    QTest::newRow("file emptied") << QByteArray() << QByteArray("[Option]\r\nFilePath=D\r\n");
}

void TestIniFile::writeKeepsChangesMadeMeanwhile()
{
    QFETCH(QByteArray, meanwhile);
    QFETCH(QByteArray, after);
    writeBytes(path(), "[Option]\r\nFilePath=C\r\nPlayTime=5\r\n");
    IniFile ini(path());
    if (meanwhile == "<gone>")
        QVERIFY(QFile::remove(path()));
    else
        writeBytes(path(), meanwhile);
    QVERIFY(ini.writeValues({IniValue::text(u"Option"_s, u"FilePath"_s, u"D"_s)}));
    QCOMPARE(readBytes(path()), after);
    // What the program reads from then on is the file as written.
    QCOMPARE(ini.readString(u"Html"_s, u"PlayerDisp"_s, u"<default>"_s),
             IniFile(path()).readString(u"Html"_s, u"PlayerDisp"_s, u"<default>"_s));
    QCOMPARE(ini.readString(u"Option"_s, u"PlayTime"_s, u"<default>"_s),
             IniFile(path()).readString(u"Option"_s, u"PlayTime"_s, u"<default>"_s));
}

// Lines that a write does not change keep their bytes, also bytes that are no CP932 text; every line
// ends in CRLF as the program writes them.
void TestIniFile::untouchedLinesKeepTheirBytes()
{
    const QByteArray damaged = "[Html]\r\nTitle=\xff\xfe\x81\r\nNul=a\0b\r\n"_ba;
    writeBytes(path(), "[Team]\nName=" + kTeamBytes + "\n" + damaged + "[Option]\rx=1");
    IniFile ini(path());
    QVERIFY(ini.writeInteger(u"option"_s, u"x"_s, 2));
    QCOMPARE(readBytes(path()), "[Team]\r\nName=" + kTeamBytes + "\r\n" + damaged + "[Option]\r\nx=2\r\n");
    QVERIFY(ini.writeValues({IniValue::text(u"Html"_s, u"Other"_s, u"ok"_s)}));
    QCOMPARE(readBytes(path()),
             "[Team]\r\nName=" + kTeamBytes + "\r\n" + damaged + "Other=ok\r\n[Option]\r\nx=2\r\n");
}

void TestIniFile::writeValuesInOneGo()
{
    writeBytes(path(), "[B]\r\ny=2\r\n");
    IniFile ini(path());
    QVERIFY(ini.writeValues({IniValue::text(u"A"_s, u"s"_s, u"t"_s), IniValue::integer(u"B"_s, u"y"_s, -3),
                             IniValue::boolean(u"A"_s, u"b"_s, true), IniValue::integer(u"a"_s, u"S"_s, 4)}));
    QCOMPARE(readBytes(path()), QByteArray("[B]\r\ny=-3\r\n[A]\r\ns=4\r\nb=1\r\n"));
}

void TestIniFile::unreadableAtWriteTime_data()
{
    QTest::addColumn<QString>("kind"); // what stands in the file's place
    QTest::newRow("folder") << u"folder"_s;
    // Neither reading nor writing waits for a writer of the pipe or reads /dev/zero for ever.
    QTest::newRow("fifo") << u"fifo"_s;
    QTest::newRow("link to /dev/zero") << u"zero"_s;
    // Sparse: it takes no room on the disk.
    QTest::newRow("past the bound") << u"large"_s;
}

// A file that cannot be read when a write comes is left as it is; the values wait in memory and reach the
// file with the next write that can read it, together with what it then holds.
void TestIniFile::unreadableAtWriteTime()
{
    QFETCH(QString, kind);
    writeBytes(path(), "[A]\r\nx=1\r\n");
    IniFile ini(path());
    QVERIFY(QFile::remove(path()));
    if (kind == u"folder"_s) {
        QVERIFY(QDir().mkpath(path()));
    } else if (kind == u"large"_s) {
        QFile file(path());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(platform::kMaxIniFileSize + 1));
    } else {
        QVERIFY(makeNonRegularFile(path(), kind));
    }
    const auto standing = [this] {
        const QFileInfo info(path());
        return std::pair(info.isFile(), info.size());
    };
    const auto before = standing();
    QVERIFY(!IniFile(path()).isReadable());
    QCOMPARE(IniFile(path()).readString(u"A"_s, u"x"_s, u"<default>"_s), u"<default>"_s);
    QVERIFY(!ini.writeValues({IniValue::text(u"A"_s, u"x"_s, u"2"_s)}));
    QCOMPARE(ini.errorString(), u"the file cannot be read"_s);
    QVERIFY(
        !ini.writeValues({IniValue::text(u"A"_s, u"y"_s, u"3"_s), IniValue::text(u"A"_s, u"x"_s, u"4"_s)}));
    QCOMPARE(standing(), before);
    QCOMPARE(ini.readString(u"A"_s, u"x"_s, QString()), u"4"_s);
    QCOMPARE(ini.readString(u"A"_s, u"y"_s, QString()), u"3"_s);

    QVERIFY(kind == u"folder"_s ? QDir().rmdir(path()) : QFile::remove(path()));
    writeBytes(path(), "[Html]\r\nPlayerDisp=1\r\n");
    QVERIFY(ini.writeValues({IniValue::text(u"B"_s, u"z"_s, u"5"_s)}));
    QCOMPARE(readBytes(path()), QByteArray("[Html]\r\nPlayerDisp=1\r\n[A]\r\nx=4\r\ny=3\r\n[B]\r\nz=5\r\n"));
    // Written once: the next write has nothing left over.
    writeBytes(path(), "[A]\r\nx=7\r\n");
    QVERIFY(ini.writeValues({}));
    QCOMPARE(readBytes(path()), QByteArray("[A]\r\nx=7\r\n"));
}

// Two programs write the shared file at once, each its own keys: every key of both reaches the file.
void TestIniFile::twoWritersLoseNothing()
{
    constexpr int kKeys = 150;
    std::atomic<int> failed = 0;
    const auto writer = [&](const QString& section) {
        IniFile ini(path());
        for (int i = 0; i < kKeys; ++i) {
            if (!ini.writeInteger(section, u"k%1"_s.arg(i), i))
                ++failed;
        }
    };
    std::thread first(writer, u"First"_s);
    std::thread second(writer, u"Second"_s);
    first.join();
    second.join();
    QCOMPARE(failed.load(), 0);
    const IniFile written(path());
    for (const QString& section : {u"First"_s, u"Second"_s}) {
        for (int i = 0; i < kKeys; ++i)
            QCOMPARE(written.readInteger(section, u"k%1"_s.arg(i), -1), i);
    }
    QVERIFY(!QFileInfo::exists(path() + u".lock"_s));
}

QTEST_APPLESS_MAIN(TestIniFile)
#include "tst_platform_ini.moc"
