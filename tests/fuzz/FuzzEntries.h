#pragma once

// What the fuzz targets do with one input, shared by the libFuzzer targets (tests/fuzz) and the
// ctest replay of the findings (tests/hooptally/tst_fuzzreplay.cpp), so that a finding is replayed
// through exactly the path that found it. Each entry returns what went wrong, empty when nothing did;
// crashes, hangs and sanitizer reports speak for themselves.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTabWidget>
#include <QTemporaryDir>

#include "hooptally/THooptallyForm.h"
#include "platform/Codec.h"
#include "platform/Dialogs.h"
#include "platform/IniFile.h"
#include "platform/StringList.h"
#include "platform/testing/ScriptedDialogs.h"
#include "support/Program.h"

namespace hoop::fuzz {

// The message boxes, input queries and modal forms that a damaged file may bring up are answered
// here as a user would to get on (OK, Yes, No to "save first?", cancel the rest); the file dialogs go
// to the program's scripted double, where the entry queued them. Restores that double on leaving.
class AutoDialogs : public platform::Dialogs
{
public:
    explicit AutoDialogs(platform::testing::ScriptedDialogs& files) : m_files(files) { platform::setDialogs(this); }
    ~AutoDialogs() override { platform::setDialogs(&m_files); }

    int messageBox(const QString& text, const QString&, platform::Buttons buttons, int) override
    {
        shown << text;
        switch (buttons) {
        case platform::Buttons::Ok:
        case platform::Buttons::OkCancel:
            return platform::mrOk;
        case platform::Buttons::YesNo:
            return platform::mrYes;
        case platform::Buttons::YesNoCancel:
            return platform::mrNo;
        }
        return platform::mrCancel;
    }
    std::optional<QString> inputQuery(const QString&, const QString& prompt, const QString&) override
    {
        shown << prompt;
        return std::nullopt;
    }
    std::optional<QString> openFile(const platform::FileDialogOptions& options) override
    {
        return m_files.openFile(options);
    }
    std::optional<QString> saveFile(const platform::FileDialogOptions& options) override
    {
        return m_files.saveFile(options);
    }
    std::optional<QString> selectDirectory(const QString& caption, const QString& start) override
    {
        return m_files.selectDirectory(caption, start);
    }
    std::optional<int> chooseColor(int initial) override { return m_files.chooseColor(initial); }
    int showModal(QDialog&) override { return platform::mrCancel; }

    QStringList shown;

private:
    platform::testing::ScriptedDialogs& m_files;
};

inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Where two lists of lines first differ, for the finding's message.
inline QString firstDifference(const QStringList& a, const QStringList& b)
{
    for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i) {
        const QString lineA = a.value(i, QStringLiteral("(none)"));
        const QString lineB = b.value(i, QStringLiteral("(none)"));
        if (lineA != lineB)
            return QStringLiteral("line %1: \"%2\" then \"%3\"").arg(i + 1).arg(lineA, lineB);
    }
    return QStringLiteral("the same lines, other bytes");
}

inline QString firstDifference(const QString& pathA, const QString& pathB)
{
    platform::StringList a, b;
    a.loadFromFile(pathA);
    b.loadFromFile(pathB);
    return firstDifference(a, b);
}

// Keeps the files of a folder on leaving, when HOOP_FUZZ_KEEP names a folder to keep them in.
struct KeepFiles
{
    QString folder;
    ~KeepFiles()
    {
        const QString keep = qEnvironmentVariable("HOOP_FUZZ_KEEP");
        if (keep.isEmpty())
            return;
        QDir().mkpath(keep);
        for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files)) {
            QFile::remove(QDir(keep).filePath(file.fileName()));
            QFile::copy(file.filePath(), QDir(keep).filePath(file.fileName()));
        }
    }
};

// The scoring program as main() starts it, in a folder of its own, its prompts answered.
class Session
{
public:
    // iniText: the settings file's lines before start-up (empty: no file).
    explicit Session(const QString& iniText = {}) : m_program(iniText) {}

    hooptally::THooptallyForm& form() { return m_program.form(); }
    hooptally::testing::Program& program() { return m_program; }
    QStringList& shown() { return m_answers.shown; }
    QString path(const QString& name) const { return m_program.path(name); }

    // The file dialogs of the commands answer with the path.
    void openGame(const QString& path)
    {
        m_program.dialogs().expectOpenFile(path);
        form().FileOpen1Execute(true);
    }
    bool saveGame(const QString& path)
    {
        m_program.dialogs().expectSaveFile(path);
        return form().SaveGame();
    }
    void readRoster(int side, const QString& path)
    {
        m_program.dialogs().expectOpenFile(path);
        side == 1 ? form().BitBtn1Click() : form().BitBtn3Click();
    }
    void writeRoster(int side, const QString& path)
    {
        m_program.dialogs().expectSaveFile(path);
        side == 1 ? form().BitBtn2Click() : form().BitBtn4Click();
    }

    // Paints every page of the main window as the user looks at it, grids and texts as read.
    void showPages()
    {
        for (int page = 0; page < form().PageControl1->count(); ++page) {
            form().PageControl1->setCurrentIndex(page);
            form().grab();
        }
    }

private:
    // Destroyed in reverse: the prompts go back to the scripted double, the files are kept, then the
    // program and its folder go.
    hooptally::testing::Program m_program;
    KeepFiles m_keep{m_program.folder()};
    AutoDialogs m_answers{m_program.dialogs()};
};

// Whether what passes through a game file must come back as it was (the reopened game shows no
// message, its save is the first one byte for byte, rosters stay). Off: only crashes, hangs and
// sanitizer reports count, and the other checks of the entries.
inline bool checkGameRoundTrips = false;

// Saves the game, opens what was saved and checks that the opening showed nothing.
inline QString saveAndReopen(Session& session, const QString& path)
{
    if (!session.saveGame(path))
        return QStringLiteral("the game was not saved: ") + session.shown().join(QLatin1Char('|'));
    session.shown().clear();
    session.openGame(path);
    if (checkGameRoundTrips && !session.shown().isEmpty())
        return QStringLiteral("reopening the saved game showed: ") + session.shown().join(QLatin1Char('|'));
    return {};
}

// The scoring program opens the input from its open dialog, saves the game, opens what it saved and
// saves that again.
inline QString gameFile(const QByteArray& input)
{
    Session session;
    const QString in = session.path(QStringLiteral("in.game"));
    if (!writeFile(in, input))
        return QStringLiteral("cannot write the input");
    session.openGame(in);
    session.showPages();
    const QString first = session.path(QStringLiteral("first.game"));
    if (QString problem = saveAndReopen(session, first); !problem.isEmpty())
        return problem;
    const QString second = session.path(QStringLiteral("second.game"));
    if (!session.saveGame(second))
        return QStringLiteral("the reopened game was not saved");
    if (checkGameRoundTrips && readFile(first) != readFile(second))
        return QStringLiteral("saving the reopened game changed it, ") + firstDifference(first, second);
    return {};
}

// A roster as its file holds it, one line per player, for comparing two reads of the same roster.
// The team name, then its players sorted, each with whether he is a coach (which kind), on court
// or off. Which players are listed on the sheet, and so the roster order and bench or not listed,
// follows the sheet's fifteen rows and when they are filled: a roster with more players marked
// "Official" than rows does not keep them all. Texts as a file gives them back: what CP932 cannot
// hold becomes '?'.
inline QStringList rosterLines(const hooptally::TTeam& team)
{
    QStringList players;
    for (int i = 0; i < team.Count(); ++i) {
        const hooptally::TPlayer* p = team.PlayerAt(i);
        if (p->status == hooptally::kBlankRow)
            continue;
        const QString place = p->IsCoach() ? QString::number(p->status)
                                           : QLatin1String(p->status == hooptally::kOnCourt ? "court" : "off");
        players << QStringList{QString::number(p->id), p->number, p->name, p->position,
                               QString::number(p->starter), place}
                       .join(QLatin1Char(','));
    }
    players.sort();
    const QString text = (QStringList{team.name} + players).join(QLatin1Char('\n'));
    return platform::Codec::fromCp932(platform::Codec::toCp932(text)).split(QLatin1Char('\n'));
}

// The scoring program reads the input as team A's roster, writes it, reads what it wrote as team B's
// roster (which must be the same), then saves the game and opens it again.
inline QString memberFile(const QByteArray& input)
{
    Session session;
    const QString in = session.path(QStringLiteral("in.member"));
    if (!writeFile(in, input))
        return QStringLiteral("cannot write the input");
    session.readRoster(1, in);
    const QString written = session.path(QStringLiteral("a.member"));
    session.writeRoster(1, written);
    session.readRoster(2, written);
    const QStringList a = rosterLines(session.program().teamA());
    const QStringList b = rosterLines(session.program().teamB());
    if (a != b)
        return QStringLiteral("the written roster reads back otherwise, ") + firstDifference(a, b);

    if (QString problem = saveAndReopen(session, session.path(QStringLiteral("rosters.game"))); !problem.isEmpty())
        return problem;
    const QStringList again = rosterLines(session.program().teamA()) + rosterLines(session.program().teamB());
    if (checkGameRoundTrips && again != a + b)
        return QStringLiteral("the rosters changed through the game file, ") + firstDifference(a + b, again);
    return {};
}

// The sections and keys that a settings text names, as the ini reader sees them: {section, key}
// pairs, a section alone with an empty key list entry.
inline QList<std::pair<QString, QString>> iniNames(const QStringList& lines)
{
    QList<std::pair<QString, QString>> names;
    QString section;
    bool inSection = false;
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        const qsizetype close = line.indexOf(QLatin1Char(']'));
        if (line.startsWith(QLatin1Char('[')) && close > 0) {
            section = line.mid(1, close - 1).trimmed();
            inSection = true;
            names.append({section, QString()});
            continue;
        }
        const qsizetype eq = raw.indexOf(QLatin1Char('='));
        if (inSection && eq >= 0 && !line.startsWith(QLatin1Char(';')))
            names.append({section, raw.left(eq).trimmed()});
    }
    return names;
}

// The settings reader over the input: every section and key it names is read, values are written into
// a section of the file and a new one and must read back from the file; then the scoring program
// starts with the input as its settings file, saves its settings and closes.
inline QString iniFile(const QByteArray& input)
{
    QTemporaryDir dir;
    const KeepFiles keep{dir.path()};
    const QString path = dir.filePath(QStringLiteral("fuzz.ini"));
    if (!writeFile(path, input))
        return QStringLiteral("cannot write the input");
    platform::StringList lines;
    lines.loadFromFile(path);
    {
        platform::IniFile ini(path);
        const auto names = iniNames(lines);
        for (qsizetype i = 0; i < names.size() && i < 64; ++i) {
            const auto& [section, key] = names[i];
            ini.readString(section, key, QStringLiteral("-"));
            ini.readInteger(section, key, -1);
            ini.readBool(section, key, false);
        }
        QList<std::pair<QString, QString>> writes{{QStringLiteral("FuzzNew"), QStringLiteral("Key")}};
        for (const auto& name : names) {
            // Names that the file cannot hold come back as '?' and name something else.
            if (!name.second.isEmpty() && platform::Codec::canEncode(name.first + name.second)) {
                writes.prepend(name);
                break;
            }
        }
        for (const auto& [section, key] : writes) {
            if (!ini.writeValues({platform::IniValue::text(section, key, QStringLiteral(" 値 "))}) || !ini.writeInteger(section, key + u'2', -123))
                return QStringLiteral("a setting was not written: [") + section + QStringLiteral("] ") + key;
            const platform::IniFile again(path);
            if (again.readString(section, key, {}) != QStringLiteral("値") ||
                again.readInteger(section, key + u'2', 0) != -123)
                return QStringLiteral("a written setting reads back otherwise: [") + section + QStringLiteral("] ") + key;
        }
    }

    Session session(lines.join(QLatin1Char('\n')));
    session.form().show();
    QCoreApplication::processEvents();
    session.program().option().SaveSettings();
    if (session.form().FormCloseQuery())
        session.form().FormClose();
    return {};
}

// A text file of the programs read as lines, written and read again: the second write must be the
// first one byte for byte; the CP932 helpers must agree with each other on every line.
inline QString stringList(const QByteArray& input)
{
    namespace Codec = platform::Codec;
    QTemporaryDir dir;
    const KeepFiles keep{dir.path()};
    const QString in = dir.filePath(QStringLiteral("in.txt"));
    const QString first = dir.filePath(QStringLiteral("first.txt"));
    const QString second = dir.filePath(QStringLiteral("second.txt"));
    if (!writeFile(in, input))
        return QStringLiteral("cannot write the input");
    platform::StringList lines;
    if (!lines.loadFromFile(in))
        return QStringLiteral("the input was not read");
    if (!lines.saveToFile(first))
        return QStringLiteral("the lines were not written");
    platform::StringList again;
    if (!again.loadFromFile(first) || !again.saveToFile(second))
        return QStringLiteral("the written lines were not read or written again");
    if (readFile(first) != readFile(second))
        return QStringLiteral("writing the lines read back changed the file");

    for (qsizetype i = 0; i < lines.size() && i < 64; ++i) {
        const QString& line = lines[i];
        if (line.contains(QLatin1Char('\r')) || line.contains(QLatin1Char('\n')))
            return QStringLiteral("a line holds a line end");
        const bool encodable = Codec::canEncode(line);
        if (encodable != Codec::unwritableChars(line).isEmpty())
            return QStringLiteral("canEncode and unwritableChars disagree on line %1").arg(i + 1);
        const QByteArray bytes = Codec::toCp932(line);
        if (Codec::byteLength(line) != bytes.size())
            return QStringLiteral("byteLength is not the length of the bytes on line %1").arg(i + 1);
        if (encodable && Codec::fromCp932(bytes) != Codec::mapLookAlikes(line))
            return QStringLiteral("line %1 does not decode to itself").arg(i + 1);
        const QString& next = lines[(i + 1) % lines.size()];
        if (Codec::compareBytes(line, line) != 0 || Codec::compareBytes(line, next) != -Codec::compareBytes(next, line))
            return QStringLiteral("compareBytes is no order on line %1").arg(i + 1);
    }
    return {};
}

} // namespace hoop::fuzz
