// Every input the fuzzers found a fault with (tests/fuzz/regressions/<target>/) and every seed of
// their corpus (tests/fuzz/corpus/<target>/), replayed through the fuzz targets' own entries, so that
// a fixed finding stays fixed under this build's sanitizers.
#include <QDir>
#include <QFile>
#include <QTest>

#include "tests/fuzz/FuzzEntries.h"

namespace {

const QString kFuzzFolder = QStringLiteral(HOOP_TEST_DATA "/../fuzz");

using Entry = QString (*)(const QByteArray&);

Entry entryOf(const QString& target)
{
    if (target == QLatin1String("gamefile"))
        return hoop::fuzz::gameFile;
    if (target == QLatin1String("memberfile"))
        return hoop::fuzz::memberFile;
    if (target == QLatin1String("inifile"))
        return hoop::fuzz::iniFile;
    if (target == QLatin1String("stringlist"))
        return hoop::fuzz::stringList;
    return nullptr;
}

} // namespace

class TestFuzzReplay : public QObject
{
    Q_OBJECT

private slots:
    void replay_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("roundTrips");
        int rows = 0;
        // Seeds, and past findings of the round-trip check, also come back the same through a game file.
        for (const auto& [kind, roundTrips] : {std::pair{QStringLiteral("regressions"), false},
                                               std::pair{QStringLiteral("corpus"), true}}) {
            const QDir folder(kFuzzFolder + QLatin1Char('/') + kind);
            for (const QString& target : folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
                const QDir files(folder.filePath(target));
                for (const QString& name : files.entryList(QDir::Files, QDir::Name)) {
                    const QString row = kind + QLatin1Char('/') + target + QLatin1Char('/') + name;
                    QTest::newRow(qPrintable(row)) << target << files.filePath(name) << roundTrips;
                    ++rows;
                }
            }
        }
        QVERIFY2(rows > 0, qPrintable(QStringLiteral("no inputs under ") + kFuzzFolder));
    }

    void replay()
    {
        QFETCH(QString, target);
        QFETCH(QString, path);
        QFETCH(bool, roundTrips);
        const Entry entry = entryOf(target);
        QVERIFY2(entry, qPrintable(QStringLiteral("no fuzz target ") + target));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        hoop::fuzz::checkGameRoundTrips = roundTrips;
        const QString problem = entry(file.readAll());
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }
};

QTEST_MAIN(TestFuzzReplay)
#include "tst_fuzzreplay.moc"
