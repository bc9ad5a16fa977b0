#include "support/Ledger.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QTreeWidget>
#include <QtEndian>

#include "hoopledger/Teamlist.h"
#include "hoopledger/Tgteam.h"
#include "platform/Codec.h"
#include "platform/StringList.h"

namespace hoopledger::testing {

Ledger::Ledger()
{
    QDir(m_dir.path()).mkpath(QStringLiteral("games"));
}

Ledger::~Ledger()
{
    m_option.reset();
    m_aboutBox.reset();
    m_form.reset();
    m_shell.reset();
    m_dialogs.reset();
}

QString Ledger::gamePath(const QString& name) const
{
    return QDir(gamesFolder()).filePath(name);
}

QString Ledger::iniFor(bool readAtStart) const
{
    return QStringList{QStringLiteral("[Option]"), QStringLiteral("FilePath=") + gamesFolder(),
                       QStringLiteral("ActiveRead=") + (readAtStart ? QLatin1Char('1') : QLatin1Char('0'))}
        .join(QLatin1Char('\n'));
}

void Ledger::start(const QString& iniText, Scorer scorer, bool activate)
{
    if (!iniText.isEmpty())
        writeText(path(QStringLiteral("Hoopledger.ini")), iniText.split(QLatin1Char('\n')));
    const QString scorerPath = path(QStringLiteral("Hooptally"));
    switch (scorer) {
    case Scorer::Real:
        QVERIFY(QFile::link(QStringLiteral(HOOPTALLY_EXE), scorerPath));
        break;
    case Scorer::None:
        break;
    case Scorer::WithoutVersion:
        writeBytes(scorerPath, QByteArray(4096, '\x7f'));
        break;
    case Scorer::Old:
        writeVersionFile(scorerPath, 2, 2, 7, 0);
        break;
    }
    m_dialogs = std::make_unique<platform::testing::ScriptedDialogs>();
    m_shell = std::make_unique<platform::testing::RecordingShell>();
    const QString program = path(QStringLiteral("Hoopledger"));
    m_form = std::make_unique<TMainForm>(nullptr, program);
    m_aboutBox = std::make_unique<TAboutBox>(m_form.get());
    m_option = std::make_unique<TOption>(m_form.get(), program);
    if (activate)
        m_form->FormActivate();
}

QTreeWidgetItem* Ledger::node(const QStringList& texts) const
{
    QTreeWidget* tree = m_form->TreeView1;
    QTreeWidgetItem* found = nullptr;
    for (int i = 0; i < tree->topLevelItemCount() && !found; ++i) {
        if (tree->topLevelItem(i)->text(0) == texts.value(0))
            found = tree->topLevelItem(i);
    }
    for (qsizetype level = 1; found && level < texts.size(); ++level) {
        QTreeWidgetItem* parent = found;
        found = nullptr;
        for (int i = 0; i < parent->childCount() && !found; ++i) {
            if (parent->child(i)->text(0) == texts[level])
                found = parent->child(i);
        }
    }
    return found;
}

void Ledger::show(const QStringList& texts)
{
    QTreeWidgetItem* item = node(texts);
    QVERIFY2(item, qPrintable(texts.join(QLatin1Char('/'))));
    m_form->TreeView1->setCurrentItem(item);
    m_form->TreeView1DblClick();
}

void Ledger::select(const QStringList& texts)
{
    QTreeWidgetItem* item = node(texts);
    QVERIFY2(item, qPrintable(texts.join(QLatin1Char('/'))));
    m_form->TreeView1->setCurrentItem(item);
}

QStringList Ledger::childTexts(const QStringList& texts) const
{
    QStringList children;
    QTreeWidgetItem* item = node(texts);
    for (int i = 0; item && i < item->childCount(); ++i)
        children << item->child(i)->text(0);
    return children;
}

QStringList Ledger::teamNames() const
{
    QStringList names;
    for (const TGTeam* team : *m_form->Teams())
        names << team->GetName();
    return names;
}

QStringList Ledger::treeTexts() const
{
    QStringList texts;
    std::function<void(QTreeWidgetItem*, int)> walk = [&](QTreeWidgetItem* item, int depth) {
        texts << QString(depth * 2, QLatin1Char(' ')) + item->text(0);
        for (int i = 0; i < item->childCount(); ++i)
            walk(item->child(i), depth + 1);
    };
    for (int i = 0; i < m_form->TreeView1->topLevelItemCount(); ++i)
        walk(m_form->TreeView1->topLevelItem(i), 0);
    return texts;
}

void writeText(const QString& path, const QStringList& lines, const QString& lineEnd)
{
    QString text;
    for (const QString& line : lines)
        text += line + lineEnd;
    writeBytes(path, platform::Codec::toCp932(text));
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

void writeVersionFile(const QString& path, int major, int minor, int release, int build)
{
    // Put together here rather than written out: this test program must not seem to carry a version.
    QByteArray marker = QByteArrayLiteral("noisreVeliF-pooH");
    std::reverse(marker.begin(), marker.end());
    QByteArray bytes(1000, '\0');
    bytes += marker;
    for (const int value : {major, minor, release, build}) {
        char word[2];
        qToLittleEndian<quint16>(quint16(value), word);
        bytes.append(word, 2);
    }
    bytes += QByteArray(1000, '\0');
    writeBytes(path, bytes);
}

QStringList playerBlock(const QString& name, const QString& number, const QList<int>& counters,
                        const QString& time, bool starter)
{
    QStringList lines = {QStringLiteral("1"), name, number, QStringLiteral("PG"),
                         starter ? QStringLiteral("1") : QStringLiteral("0")};
    for (int i = 0; i < 13; ++i)
        lines << QString::number(counters.value(i, 0));
    lines << time;
    return lines;
}

QStringList gameFile(const QString& date, const QString& teamA, const QStringList& blocksA,
                     const QString& teamB, const QStringList& blocksB, const QString& tournament,
                     const QString& time)
{
    QStringList lines = {QStringLiteral("#Hooptally"),
                         QStringLiteral("02.03.01"),
                         tournament,
                         QStringLiteral("体育館"),
                         date,
                         time.isEmpty() ? date : time,
                         QStringLiteral("1"),
                         QStringLiteral("Official-Start"),
                         QStringLiteral("Official-End"),
                         QStringLiteral("TeamA-Start"),
                         QStringLiteral("TeamA-End"),
                         QStringLiteral("TeamB-Start"),
                         QStringLiteral("TeamB-End"),
                         QStringLiteral("Log-Start"),
                         QStringLiteral("Log-End"),
                         QStringLiteral("#STATS-START")};
    for (const auto& [name, blocks] : {std::pair{teamA, blocksA}, std::pair{teamB, blocksB}}) {
        lines << QStringLiteral("#TEAM-START") << name << QString::number(blocks.size() / 19) << blocks
              << QStringLiteral("#TEAM-END");
    }
    lines << QStringLiteral("#STATS-END");
    return lines;
}

} // namespace hoopledger::testing
