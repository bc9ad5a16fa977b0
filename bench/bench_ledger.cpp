// Loading a season of 5,000 game files into the statistics program, the files written by the scoring
// program's own writer. Prints the load time against just reading and decoding the same files, the
// peak memory, the time to fill the tree and the game list, and the time of each view switch.
//
//   bench_ledger               generates the season in a temporary folder (in a child process, so the
//                              peak memory counts the statistics program alone), then measures
//   bench_ledger run FOLDER    measures an existing season
//   bench_ledger generate FOLDER [COUNT]
#include <cstdio>

#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "ProcessMemory.h"
#include "hoopledger/TAboutBox.h"
#include "hoopledger/TMainForm.h"
#include "hoopledger/TOption.h"
#include "hoopledger/Teamlist.h"
#include "hoopledger/Tgamelist.h"
#include "hooptally/Tsavefile.h"
#include "platform/Codec.h"
#include "platform/StringList.h"
#include "support/ActionPathHelpers.h"
#include "support/Program.h"

namespace {

constexpr int kGames = 5000;
constexpr int kTeams = 20;
constexpr int kLoggedActions = 300;

int generate(const QString& folder, int count)
{
    hooptally::testing::Program program(QStringLiteral("[Option]\nPlayTime=9"));
    hooptally::testing::recordSyntheticGame(program, kLoggedActions);
    program.form().Taikaimei->setText(QStringLiteral("リーグ戦"));
    QDir().mkpath(folder);
    for (int i = 0; i < count; ++i) {
        const int a = i % kTeams;
        int b = (i * 7 + 3) % kTeams;
        if (b == a)
            b = (a + 1) % kTeams;
        program.teamA().name = QStringLiteral("チーム%1").arg(a, 2, 10, QLatin1Char('0'));
        program.teamB().name = QStringLiteral("チーム%1").arg(b, 2, 10, QLatin1Char('0'));
        program.form().DateTimePicker1->setDate(QDate(2000, 1, 1).addDays(i));
        hooptally::TSaveFile writer(
            QDir(folder).filePath(QStringLiteral("g%1.game").arg(i, 5, 10, QLatin1Char('0'))));
        if (!writer.Save(hooptally::SaveKind::Game)) {
            std::fprintf(stderr, "could not write game %d\n", i);
            return 1;
        }
    }
    return 0;
}

double msSince(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

int measure(const QString& folder)
{
    // The program's folder, with settings that name the season and do not load at start.
    QTemporaryDir programDir;
    platform::StringList ini = {QStringLiteral("[Option]"), QStringLiteral("FilePath=") + folder,
                                QStringLiteral("ActiveRead=0")};
    ini.saveToFile(programDir.filePath(QStringLiteral("Hoopledger.ini")));
    const QString program = programDir.filePath(QStringLiteral("Hoopledger"));
    hoopledger::TMainForm form(nullptr, program);
    hoopledger::TAboutBox about(&form);
    hoopledger::TOption option(&form, program);
    form.resize(1100, 700);
    form.show();
    form.FormActivate();
    QApplication::processEvents();
    const QStringList paths = form.ListGameFiles(folder);
    const qint64 rssBefore = bench::residentMb("VmRSS");

    // Reading and decoding alone, twice: the second run has the files in the page cache, as the
    // loads below do.
    double readMs = 0;
    for (int run = 0; run < 2; ++run) {
        QElapsedTimer timer;
        timer.start();
        qsizetype chars = 0;
        for (const QString& path : paths) {
            QFile file(path);
            if (file.open(QIODevice::ReadOnly))
                chars += platform::Codec::fromCp932(file.readAll()).size();
        }
        readMs = msSince(timer);
        if (chars == 0)
            return 1;
    }

    double modelMs = 0;
    double teamsMs = 0;
    {
        QElapsedTimer timer;
        timer.start();
        hoopledger::TGameList games;
        for (const QString& path : paths)
            games.AddGameFile(path);
        modelMs = msSince(timer);
        timer.restart();
        hoopledger::TeamList teams(&games);
        teams.SortByName();
        teamsMs = msSince(timer);
        if (games.Count() != paths.size())
            std::fprintf(stderr, "only %d of %lld games loaded\n", games.Count(), qlonglong(paths.size()));
    }

    QElapsedTimer timer;
    timer.start();
    form.LoadFolder();
    const double loadMs = msSince(timer);
    const qint64 peak = bench::residentMb("VmHWM");
    const qint64 rssAfter = bench::residentMb("VmRSS");

    timer.restart();
    form.BuildTree();
    form.ShowGameList();
    const double fillMs = msSince(timer);
    timer.restart();
    QApplication::processEvents();
    const double paintMs = msSince(timer);

    // The views of the team with the most games, its totals, a member, then the root again.
    QTreeWidgetItem* root = form.TreeView1->topLevelItem(0);
    QTreeWidgetItem* team = root->child(0);
    const QList<QTreeWidgetItem*> nodes = {team, team->child(0), team->child(1), root};
    const char* names[] = {"team results", "personal totals", "member's games", "game list"};
    double viewMs[4] = {};
    for (int i = 0; i < 4; ++i) {
        form.TreeView1->setCurrentItem(nodes[i]);
        timer.restart();
        form.TreeView1DblClick();
        QApplication::processEvents();
        viewMs[i] = msSince(timer);
    }

    std::printf("season: %lld game files in %s\n", qlonglong(paths.size()), qPrintable(folder));
    std::printf("read and decode only:        %8.1f ms\n", readMs);
    std::printf("load into the model:         %8.1f ms  (%.2fx of reading and decoding)\n", modelMs,
                modelMs / readMs);
    std::printf("season teams built, sorted:  %8.1f ms\n", teamsMs);
    std::printf("whole load in the window:    %8.1f ms  (list, load, teams, tree, game list)\n", loadMs);
    std::printf("tree and game list filled:   %8.1f ms  (+ %.1f ms to paint)\n", fillMs, paintMs);
    for (int i = 0; i < 4; ++i)
        std::printf("view switch, %-16s %8.1f ms  (%s)\n", names[i], viewMs[i],
                    qPrintable(nodes[i]->text(0)));
    std::printf("memory: resident %lld MB before the load, %lld MB after; peak %lld MB\n", rssBefore,
                rssAfter, peak);
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() >= 3 && args[1] == QLatin1String("generate"))
        return generate(args[2], args.size() >= 4 ? args[3].toInt() : kGames);
    if (args.size() >= 3 && args[1] == QLatin1String("run"))
        return measure(args[2]);
    QTemporaryDir season;
    QElapsedTimer timer;
    timer.start();
    if (QProcess::execute(QApplication::applicationFilePath(), {QStringLiteral("generate"), season.path()}) !=
        0)
        return 1;
    std::printf("generated %d game files with the scoring program's writer in %.1f s\n", kGames,
                double(timer.elapsed()) / 1000);
    return measure(season.path());
}
