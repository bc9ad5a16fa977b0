#pragma once

#include <memory>

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "hoopledger/TAboutBox.h"
#include "hoopledger/TMainForm.h"
#include "hoopledger/TOption.h"
#include "platform/testing/ScriptedDialogs.h"
#include "support/ActionPathHelpers.h" // gridRows

namespace hoopledger::testing {

using hooptally::testing::gridRows;

// The tree's fixed texts: the root and each team's first child.
inline const QString kRoot = QStringLiteral("全試合");
inline const QString kTotals = QStringLiteral("個人ﾄｰﾀﾙ一覧");

// What lies beside the statistics program where it looks for the scoring program.
enum class Scorer {
    Real,           // the built scoring program
    None,           // nothing
    WithoutVersion, // a file without a version block
    Old,            // a file whose version block says 2.2.7.0
};

// The statistics program as main() starts it, with its executable in a temporary folder: its
// settings file, the scoring program and its settings file lie beside it. Files are written into
// the folder first, then start() creates the three forms in their order and runs the first
// activation. The scripted dialogs fail the test on any unexpected prompt.
class Ledger
{
public:
    Ledger();
    ~Ledger();

    QString folder() const { return m_dir.path(); }
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QString gamesFolder() const { return m_dir.filePath(QStringLiteral("games")); }
    QString gamePath(const QString& name) const;
    // An ini naming the games folder, reading at start or not.
    QString iniFor(bool readAtStart = true) const;

    void start(const QString& iniText, Scorer scorer = Scorer::Real, bool activate = true);

    TMainForm& form() { return *m_form; }
    TOption& option() { return *m_option; }
    TAboutBox& aboutBox() { return *m_aboutBox; }
    platform::testing::ScriptedDialogs& dialogs() { return *m_dialogs; }
    platform::testing::RecordingShell& shell() { return *m_shell; }

    // The tree's node for a path of texts from the root ("全試合", team, member); null when absent.
    QTreeWidgetItem* node(const QStringList& texts) const;
    // Selects the node and shows its view as a click does.
    void show(const QStringList& texts);
    // Selects the node without showing its view.
    void select(const QStringList& texts);
    // The texts of the node's children.
    QStringList childTexts(const QStringList& texts) const;
    // Every node of the tree, indented by two spaces a level.
    QStringList treeTexts() const;
    // The season's team names, in the season's order.
    QStringList teamNames() const;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<platform::testing::ScriptedDialogs> m_dialogs;
    std::unique_ptr<platform::testing::RecordingShell> m_shell;
    std::unique_ptr<TMainForm> m_form;
    std::unique_ptr<TAboutBox> m_aboutBox;
    std::unique_ptr<TOption> m_option;
};

// A text file in CP932 with the given line end after every line.
void writeText(const QString& path, const QStringList& lines,
               const QString& lineEnd = QStringLiteral("\r\n"));
void writeBytes(const QString& path, const QByteArray& bytes);

// A file with a version block of the given numbers (and no other marker), as an executable carries one.
void writeVersionFile(const QString& path, int major, int minor, int release, int build);

// One player block of a statistics block: 19 lines. Counters in the file's order: 3P made and missed
// points, 2P made and missed points, free throws made and missed, fouls, assists, offensive and
// defensive rebounds, blocked shots, turnovers, steals.
QStringList playerBlock(const QString& name, const QString& number, const QList<int>& counters = {},
                        const QString& time = QStringLiteral("0"), bool starter = false);
// A whole game file as the scoring program writes one (the sections the loader skips kept short); the
// time line is the date unless given.
QStringList gameFile(const QString& date, const QString& teamA, const QStringList& blocksA,
                     const QString& teamB, const QStringList& blocksB,
                     const QString& tournament = QStringLiteral("大会"), const QString& time = {});

} // namespace hoopledger::testing
