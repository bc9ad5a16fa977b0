#include "hoopledger/Tsavehtmlx.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>

#include "hoopledger/TAboutBox.h"
#include "hoopledger/TMainForm.h"
#include "hoopledger/TOption.h"
#include "hoopledger/TSaveHtmlDlg.h"
#include "hoopledger/Tgteam.h"
#include "hoopledger/Tplayer.h"
#include "platform/DateTime.h"
#include "platform/Dialogs.h"
#include "platform/SaveFailure.h"
#include "platform/StringGrid.h"
#include "platform/StringList.h"

namespace hoopledger {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kPageSuffix = QStringLiteral("_.html");

// Where a file name goes into a link: what would end the address or start a query or fragment is
// encoded, then the whole is escaped for the attribute.
QString linkAddress(const QString& fileName)
{
    QString address;
    for (const QChar c : fileName) {
        if (c == u'%' || c == u'#' || c == u'?')
            address += QLatin1Char('%') + QString::number(c.unicode(), 16).toUpper();
        else
            address += c;
    }
    return HtmlEscaped(address);
}

} // namespace

QString HtmlEscaped(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            result += QStringLiteral("&amp;");
            break;
        case u'<':
            result += QStringLiteral("&lt;");
            break;
        case u'>':
            result += QStringLiteral("&gt;");
            break;
        case u'"':
            result += QStringLiteral("&quot;");
            break;
        default:
            // Control characters are not page text; a parser stops at them.
            result += c.unicode() < 0x20 && c != u'\t' ? QChar(u' ') : c;
            break;
        }
    }
    return result;
}

int PageKindOf(int viewKind)
{
    switch (viewKind) {
    case kGameListView:
        return kGameListPage;
    case kTeamView:
        return kTeamResultsPage;
    case kPersonalTotalsView:
        return kPersonalTotalsPage;
    case kMemberView:
        return kMemberGamesPage;
    default:
        return kNoPage;
    }
}

QString DefaultPageName(int viewKind, const TStatPlayer* member)
{
    switch (viewKind) {
    case kGameListView:
        return QStringLiteral("AllGame_.html");
    case kTeamView:
        return QStringLiteral("Team_.html");
    case kPersonalTotalsView:
        return QStringLiteral("AllKojin_.html");
    case kMemberView:
        return member ? SafeFileName(member->GetNumber() + kPageSuffix) : QString();
    default:
        return QString();
    }
}

QString SafeFileName(QString name)
{
    return name.replace(QLatin1Char('/'), QLatin1Char('_'));
}

QString HtmlOutputFolder()
{
    QString folder = Option() ? Option()->SaveFolder().trimmed() : QString();
    // Never the root of the file system: an unset folder is the program's own.
    if (folder.isEmpty())
        folder =
            Option() ? QFileInfo(Option()->IniPath()).absolutePath() : QCoreApplication::applicationDirPath();
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

THtmlWriter::THtmlWriter(TMainForm& form) : m_form(form) {}

THtmlWriter::THtmlWriter(TMainForm& form, const QString& prefix, int overwriteMode)
    : m_form(form), m_prefix(prefix), m_batch(true), m_overwriteMode(overwriteMode)
{
}

int THtmlWriter::Write(int kind, const QString& path)
{
    m_failed = false;
    m_written = false;
    if (m_overwriteMode == kOverwriteCancelled)
        return m_overwriteMode;
    QString target = path;
    if (m_overwriteMode != kOverwriteAll && QFileInfo::exists(target)) {
        TSaveHtmlDlg dialog(&m_form, TSaveHtmlDlg::kAskMode, target);
        switch (platform::dialogs().showModal(dialog)) {
        case platform::mrYes:
            m_overwriteMode = kOverwriteAsk;
            break;
        case mrAll:
            m_overwriteMode = kOverwriteAll;
            break;
        case platform::mrNo:
            return m_overwriteMode = kOverwriteSkipped;
        default: // "キャンセル" and the close box
            return m_overwriteMode = kOverwriteCancelled;
        }
        // The user may have chosen another file with "File名変更".
        target = dialog.FileName();
    }
    platform::StringList lines;
    buildPage(lines, kind);
    if (QString reason; !lines.saveToFile(target, &reason)) {
        platform::logSaveFailure(target, reason);
        m_failed = true;
        m_failedFile = target;
        return m_overwriteMode;
    }
    m_written = true;
    m_lastFile = target;
    return m_overwriteMode;
}

void THtmlWriter::buildPage(platform::StringList& lines, int kind) const
{
    const QString heading = HtmlEscaped(m_form.Label1->text());
    // The bytes are CP932: a parser that takes the label "Shift-JIS" strictly stops at its extensions
    // (①, 髙, ...), while browsers read both labels alike.
    lines << QStringLiteral("<html>") << QStringLiteral("<head>")
          << QStringLiteral("<title>") + heading + QStringLiteral("</title>")
          << QStringLiteral(R"(<meta http-equiv="Content-Type" content="text/html; charset=Windows-31J">)")
          << QStringLiteral(R"(<meta http-equiv="Content-Style-Type" content="text/css">)")
          << QStringLiteral("</head>") << QStringLiteral("<body>") << QStringLiteral("<center>");
    lines << QStringLiteral(R"(<div align="right" ><font size=1>Update:)") +
                 platform::DateTime::ShortDate(platform::DateTime::Now()) +
                 QStringLiteral("</font></DIV><br>\n");
    addHeading(lines, kind);
    addTable(lines, kind == kPersonalTotalsPage);
    lines << QStringLiteral(R"(<br>--<a href=")") + HtmlEscaped(kHomePage) +
                 QStringLiteral(R"(">Hoopledger Summary</a>--<br>)")
          << QStringLiteral("</center>") << QStringLiteral("</body>") << QStringLiteral("</html>");
}

void THtmlWriter::addHeading(platform::StringList& lines, int kind) const
{
    if (kind != kMemberGamesPage) {
        lines << QStringLiteral("<font size=4>【") + HtmlEscaped(m_form.Label1->text()) +
                     QStringLiteral("】</font><br>\n");
        return;
    }
    const TStatPlayer* member = m_form.GridMember();
    const TGTeam* team = m_form.GridTeam();
    if (!member || !team)
        return;
    lines << QStringLiteral("<font size=4>【") + HtmlEscaped(team->GetName()) +
                 QStringLiteral("】<br></font><font size=6>") + HtmlEscaped(member->GetName()) +
                 QLatin1Char('(') + HtmlEscaped(member->GetNumber()) + QStringLiteral(")</font><br>\n");
}

void THtmlWriter::addTable(platform::StringList& lines, bool linked) const
{
    const platform::StringGrid& grid = *m_form.GridAll;
    // Empty cells keep their frame: a full-width space in plain tables, "--" in the personal totals.
    const QString blank = linked ? QStringLiteral("--") : QStringLiteral("　");
    const QString lineEnd = linked ? kCrLf : QString();
    lines << QStringLiteral("\t<table  border=\"1\" cellspacing=\"1\" cellpadding=\"0\" >");
    for (int row = 0; row < grid.RowCount(); ++row) {
        lines << QStringLiteral("<tr>");
        for (int col = 0; col < grid.ColCount(); ++col) {
            const QString text = grid.Cells(col, row);
            const QString shown = text.isEmpty() ? blank : HtmlEscaped(text);
            // The header and the totals line (the last row) link nowhere.
            if (linked && m_batch && col == 0 && row > 0 && row < grid.RowCount() - 1)
                lines << linkCell(row, shown) + lineEnd;
            else
                lines << QStringLiteral("<td>") + shown + QStringLiteral("</td>") + lineEnd;
        }
        lines << QStringLiteral("</tr>");
    }
    lines << QStringLiteral("\t</table>");
}

QString THtmlWriter::linkCell(int row, const QString& shown) const
{
    // Row n of the personal totals is the n-th member node, whose page the save-all names n_.html.
    const QString fileName = QFileInfo(m_prefix + QString::number(row) + kPageSuffix).fileName();
    return QStringLiteral("<td><a href=\"./") + linkAddress(fileName) + QStringLiteral("\">") + shown +
           QStringLiteral("</a></td>");
}

THtmlSaveAll::THtmlSaveAll(TMainForm& form, const QString& prefixPath)
    : m_form(form), m_prefixPath(prefixPath),
      m_folder(QFileInfo(prefixPath + QStringLiteral("Team_.html")).absolutePath())
{
    m_report = QStringLiteral("Write Folder : ") + m_folder + kCrLf;
}

THtmlSaveAll::Outcome THtmlSaveAll::WritePage(int kind, const QString& name)
{
    const QString path = m_prefixPath + name;
    THtmlWriter writer(m_form, m_prefixPath, m_mode);
    m_mode = writer.Write(kind, path);
    if (writer.Failed()) {
        m_failedFile = writer.FailedFile();
        addLine(QStringLiteral("WriteError:  "), m_failedFile);
        return Outcome::Failed;
    }
    if (writer.Written()) {
        m_wrote = true;
        addLine(QStringLiteral("WriteFile:  "), writer.LastFile());
    } else if (m_mode == kOverwriteSkipped) {
        addLine(QStringLiteral("NotWritten:  "), path);
    }
    return m_mode == kOverwriteCancelled ? Outcome::Stop : Outcome::GoOn;
}

void THtmlSaveAll::addLine(const QString& label, const QString& path)
{
    // A file put elsewhere with "File名変更" is named in full.
    const QFileInfo info(path);
    m_report += label + (info.absolutePath() == m_folder ? info.fileName() : info.absoluteFilePath()) + kCrLf;
}

} // namespace hoopledger
