#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <algorithm>
#include <optional>

#include "platform/Version.h"

using namespace platform;

namespace {

// Built at run time and backwards in the source, so this test program holds no block of its own.
QByteArray marker()
{
    QByteArray text("noisreVeliF-pooH");
    std::reverse(text.begin(), text.end());
    return text;
}

QByteArray numbers(quint16 major, quint16 minor, quint16 release, quint16 build)
{
    QByteArray bytes(8, '\0');
    qToLittleEndian<quint16>(major, bytes.data());
    qToLittleEndian<quint16>(minor, bytes.data() + 2);
    qToLittleEndian<quint16>(release, bytes.data() + 4);
    qToLittleEndian<quint16>(build, bytes.data() + 6);
    return bytes;
}

} // namespace

class TestVersion : public QObject
{
    Q_OBJECT

private slots:
    void programs_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");

        QTest::newRow("scoring program") << QStringLiteral(HOOPTALLY_EXE) << QStringLiteral("2.3.1.0");
        QTest::newRow("statistics program") << QStringLiteral(HOOPLEDGER_EXE) << QStringLiteral("1.0.1.0");
    }

    void programs()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        const auto version = GetFileVersion(path);
        QVERIFY(version);
        QCOMPARE(version->toString(), expected);
    }

    // Linking the platform library must not make a program look as if it carried a block.
    void programWithoutBlock()
    {
        QCOMPARE(GetFileVersion(QCoreApplication::applicationFilePath()), std::nullopt);
    }

    void files_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<std::optional<FileVersion>>("expected");

        const QByteArray filler(3 * 1024 * 1024 + 5, 'x');
        const std::optional<FileVersion> none;
        QTest::newRow("empty file") << QByteArray() << none;
        QTest::newRow("truncated marker") << marker().left(10) << none;
        QTest::newRow("marker without numbers") << QByteArray("abc") + marker() << none;
        QTest::newRow("numbers cut short") << marker() + numbers(2, 3, 1, 0).left(6) << none;
        QTest::newRow("block alone") << marker() + numbers(2, 3, 1, 0)
                                     << std::optional(FileVersion{2, 3, 1, 0});
        QTest::newRow("block at the end of the file")
            << filler + marker() + numbers(7, 0, 12, 345) << std::optional(FileVersion{7, 0, 12, 345});
        // Files are read in 1 MiB chunks: this block starts in the first and ends in the second.
        QTest::newRow("block across a read boundary")
            << QByteArray((1 << 20) - 10, 'x') + marker() + numbers(1, 2, 3, 4) + filler
            << std::optional(FileVersion{1, 2, 3, 4});
        QTest::newRow("marker in text skipped for the real block")
            << marker() + QByteArray("ASCII text follows") + marker() + numbers(2, 2, 8, 0)
            << std::optional(FileVersion{2, 2, 8, 0});
        QTest::newRow("all-zero block skipped")
            << marker() + numbers(0, 0, 0, 0) + marker() + numbers(1, 0, 1, 0)
            << std::optional(FileVersion{1, 0, 1, 0});
        QTest::newRow("first of two blocks")
            << marker() + numbers(1, 0, 0, 0) + marker() + numbers(2, 0, 0, 0)
            << std::optional(FileVersion{1, 0, 0, 0});
    }

    void files()
    {
        QFETCH(QByteArray, content);
        QFETCH(std::optional<FileVersion>, expected);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("program"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), content.size());
        file.close();
        QCOMPARE(GetFileVersion(path), expected);
    }

    void missingFile()
    {
        QTemporaryDir dir;
        QCOMPARE(GetFileVersion(dir.filePath(QStringLiteral("absent"))), std::nullopt);
        QCOMPARE(GetFileVersion(dir.path()), std::nullopt); // a folder
    }

    void order_data()
    {
        QTest::addColumn<FileVersion>("lower");
        QTest::addColumn<FileVersion>("higher");

        QTest::newRow("minor decides") << FileVersion{2, 2, 8, 0} << FileVersion{2, 3, 1, 0};
        QTest::newRow("major before minor") << FileVersion{1, 9, 9, 9} << FileVersion{2, 0, 0, 0};
        QTest::newRow("build last") << FileVersion{2, 3, 1, 0} << FileVersion{2, 3, 1, 1};
        QTest::newRow("numbers, not text") << FileVersion{2, 9, 0, 0} << FileVersion{2, 10, 0, 0};
    }

    void order()
    {
        QFETCH(FileVersion, lower);
        QFETCH(FileVersion, higher);
        QVERIFY(lower < higher);
        QVERIFY(!(higher < lower));
        QVERIFY(lower != higher);
    }
};

QTEST_GUILESS_MAIN(TestVersion)
#include "tst_platform_version.moc"
