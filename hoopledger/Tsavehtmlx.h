#pragma once

#include <QString>

namespace platform {
class StringList;
}

namespace hoopledger {

class TMainForm;
class TStatPlayer;

// What a page shows; the grid must hold the matching view.
enum HtmlPageKind : int {
    kNoPage = 0,
    kGameListPage = 1,
    kTeamResultsPage = 2,
    kPersonalTotalsPage = 3,
    kMemberGamesPage = 4,
};

// How an existing target file is treated; also what THtmlWriter::Write returns.
enum OverwriteMode : int {
    kOverwriteAsk = 0,       // "はい" for the last existing file: written, ask again next time
    kOverwriteSkipped = 1,   // "いいえ": that file was not written, ask again next time
    kOverwriteAll = 2,       // write without asking ("全て上書き", and always for a single page)
    kOverwriteCancelled = 3, // "キャンセル": nothing more is written in this batch
};

// Writes the view that the main window's grid holds, under the heading of its Label1, as one HTML
// page. It computes nothing itself: the page is what the grid shows.
class THtmlWriter
{
public:
    // A single page: never asks about an existing file.
    explicit THtmlWriter(TMainForm& form);
    // One page of a save-all. prefix: the output folder, "/" and the user's file-name prefix; the
    // personal totals link their rows to the member pages named after it.
    THtmlWriter(TMainForm& form, const QString& prefix, int overwriteMode);
    THtmlWriter(const THtmlWriter&) = delete;
    THtmlWriter& operator=(const THtmlWriter&) = delete;

    // Writes the page of that kind to the path, asking first when the mode says so and a file is
    // there. Returns the overwrite mode after the call. Whether the call wrote its file is Written()
    // (the mode does not tell: a writer asked to skip still writes a file that is not there yet), and
    // Failed() when the file could not be written.
    int Write(int kind, const QString& path);

    const QString& LastFile() const { return m_lastFile; } // the file last written
    bool Written() const { return m_written; }
    bool Failed() const { return m_failed; }
    const QString& FailedFile() const { return m_failedFile; }

private:
    void buildPage(platform::StringList& lines, int kind) const;
    void addHeading(platform::StringList& lines, int kind) const;
    void addTable(platform::StringList& lines, bool linked) const;
    QString linkCell(int row, const QString& shown) const;

    TMainForm& m_form;
    QString m_prefix;
    bool m_batch = false;
    int m_overwriteMode = kOverwriteAll;
    QString m_lastFile;
    bool m_written = false;
    bool m_failed = false;
    QString m_failedFile;
};

// One save-all of a team: its pages written one by one, each writer taking the overwrite mode the
// last one left, and the list of what became of each file.
class THtmlSaveAll
{
public:
    enum class Outcome { GoOn, Stop, Failed };

    // prefixPath: the output folder, "/" and the user's file-name prefix.
    THtmlSaveAll(TMainForm& form, const QString& prefixPath);

    // Writes the page that the grid holds to prefix path + name. Stop after "キャンセル", Failed
    // when the file could not be written.
    Outcome WritePage(int kind, const QString& name);

    bool Wrote() const { return m_wrote; }
    // "Write Folder : " and the planned folder, then a line per page.
    const QString& Report() const { return m_report; }
    const QString& FailedFile() const { return m_failedFile; }

private:
    void addLine(const QString& label, const QString& path);

    TMainForm& m_form;
    QString m_prefixPath;
    QString m_folder;
    int m_mode = kOverwriteAsk;
    bool m_wrote = false;
    QString m_report;
    QString m_failedFile;
};

// The page kind of a view kind of the grid (kNoPage for an empty grid).
int PageKindOf(int viewKind);
// The name a single page is offered under: by the view, a member's page by its number.
QString DefaultPageName(int viewKind, const TStatPlayer* member);
// A name that stays one file name: "/" would name a folder.
QString SafeFileName(QString name);
// Where the pages go: the settings' output folder, the program's own folder when none is set.
QString HtmlOutputFolder();
// Text of the files as page text, never markup.
QString HtmlEscaped(const QString& text);

} // namespace hoopledger
