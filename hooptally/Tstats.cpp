#include "hooptally/Tstats.h"

#include <algorithm>
#include <cstring>

#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QThread>
#include <QTimeEdit>
#include <QtEndian>

#include <sys/stat.h>
#include <unistd.h>

#include "hooptally/Common.h"
#include "hooptally/THooptallyForm.h"
#include "hooptally/Texecute.h"
#include "hooptally/Tteam.h"
#include "platform/Codec.h"
#include "platform/CopyData.h"
#include "platform/DateTime.h"

namespace hooptally {

namespace {

// Offsets inside the block, a team record and a player slot.
enum SnapshotField : int {
    kTournamentField = 0,
    kVenueField = 4,
    kDateField = 8,
    kTimeField = 16,
    kTeamNameField = 0,
    kEntryCountField = 4,
    kFirstSlotField = 8,
    kPlayerIdField = 0,
    kPlayerNameField = 4,
    kNumberField = 8,
    kPositionField = 12,
    kStarterField = 16,
    kFirstValueField = 20,
    kCourtTimeField = 72,
};

// The thirteen values of a slot, in the block's order.
constexpr std::uint8_t kSnapshotCodes[] = {
    kTwoPointMade,    kTwoPointMissed, kThreePointMade, kThreePointMissed, kFreeThrowMade,
    kFreeThrowMissed, kFoul,           kAssist,         kOffensiveRebound, kDefensiveRebound,
    kBlockedShot,     kTurnover,       kSteal};

// The block, little-endian, with every text appended after it: a text reference is the text's
// offset from the start of the block (0 for an empty text).
class SnapshotWriter
{
public:
    SnapshotWriter() : m_bytes(kSnapshotSize, '\0') {}

    void int32(int offset, std::int32_t value) { qToLittleEndian(value, m_bytes.data() + offset); }
    void byte(int offset, std::uint8_t value) { m_bytes[offset] = static_cast<char>(value); }
    void real(int offset, double value)
    {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        qToLittleEndian(bits, m_bytes.data() + offset);
    }
    void text(int offset, const QString& value)
    {
        if (value.isEmpty())
            return;
        int32(offset, static_cast<std::int32_t>(m_bytes.size()));
        m_bytes += platform::Codec::toCp932(value);
        m_bytes += '\0';
    }
    QByteArray bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

void writeTeam(SnapshotWriter& writer, int offset, const TTeam& team)
{
    writer.text(offset + kTeamNameField, team.name);
    writer.int32(offset + kEntryCountField, team.Count());
    const int filled = std::min(team.Count(), kSnapshotSlots);
    for (int i = 0; i < filled; ++i) {
        const TPlayer& player = *team.PlayerAt(i);
        const int slot = offset + kFirstSlotField + i * kSnapshotSlotSize;
        writer.int32(slot + kPlayerIdField, player.id);
        writer.text(slot + kPlayerNameField, player.name);
        writer.text(slot + kNumberField, player.number);
        writer.text(slot + kPositionField, player.position);
        writer.byte(slot + kStarterField, player.starter);
        int field = slot + kFirstValueField;
        for (const std::uint8_t code : kSnapshotCodes) {
            writer.int32(field, player.StatValue(-1, code, true));
            field += 4;
        }
        writer.real(slot + kCourtTimeField, player.TotalCourtTime());
    }
}

QByteArray int32Bytes(std::int32_t value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

bool isPrivateFolder(const QByteArray& path)
{
    struct stat info
    {
    };
    return ::lstat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid() &&
           (info.st_mode & 077) == 0;
}

} // namespace

QByteArray BuildStatsSnapshot()
{
    SnapshotWriter writer;
    const THooptallyForm* form = MainForm();
    if (!form)
        return writer.bytes();
    writer.text(kTournamentField, form->Taikaimei->text());
    writer.text(kVenueField, form->Basho->text());
    const QDate date = form->DateTimePicker1->date();
    const QTime time = form->DateTimePicker2->time();
    writer.real(kDateField, platform::DateTime::encodeDate(date.year(), date.month(), date.day()));
    writer.real(kTimeField,
                platform::DateTime::encodeTime(time.hour(), time.minute(), time.second(), time.msec()));
    for (const TeamSide side : {kSideA, kSideB}) {
        if (const TTeam* team = GetTeam(side))
            writeTeam(writer, kSnapshotTeamOffset[side - 1], *team);
    }
    return writer.bytes();
}

QString StatsRequestFolder()
{
    QString base = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (base.isEmpty() || !QDir(base).exists())
        base = QDir::tempPath();
    const QString folder = QDir(base).filePath(QStringLiteral("hooptally-%1").arg(::getuid()));
    const QByteArray path = QFile::encodeName(folder);
    ::mkdir(path.constData(), 0700);
    if (isPrivateFolder(path))
        return folder;
    // Ours but too open (made under another umask): closed to everyone else, never followed as a link.
    struct stat info
    {
    };
    if (::lstat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid() &&
        ::chmod(path.constData(), 0700) == 0 && isPrivateFolder(path))
        return folder;
    return QString();
}

TStatsRequestHandler::TStatsRequestHandler(THooptallyForm* form) : m_form(form)
{
    const QString folder = StatsRequestFolder();
    if (folder.isEmpty() || !form)
        return;
    const QString handle =
        QDir(folder).filePath(QStringLiteral("Hooptally.%1").arg(QCoreApplication::applicationPid()));
    m_server = std::make_unique<platform::CopyDataServer>(form, handle);
    if (!m_server->isListening())
        m_server.reset();
}

TStatsRequestHandler::~TStatsRequestHandler() = default;

platform::LRESULT TStatsRequestHandler::HandleStatsRequest(platform::Message& message)
{
    auto* request = platform::RecordOf<platform::CopyDataStruct>(message);
    if (!request)
        return 0;
    const QString requester = message.wParam ? *reinterpret_cast<const QString*>(message.wParam) : QString();
    const auto code = request->dwData & 0xFF;
    const bool oversized = request->data.size() > kMaxStatsRequestSize;
    platform::LRESULT result = 0;
    if (!oversized && code == kOpenGameRequest) {
        const bool opened = OpenRequestedGame(request->data);
        if (!requester.isEmpty())
            platform::SendCopyData(requester, kOpenGameReply, int32Bytes(opened ? 1 : 0));
        result = 1;
    } else if (!oversized && code == kSnapshotRequest) {
        if (!requester.isEmpty())
            platform::SendCopyData(requester, kSnapshotReply, BuildStatsSnapshot());
        result = 1;
    }
    request->dwData = 0;
    return result;
}

bool TStatsRequestHandler::OpenRequestedGame(const QByteArray& data)
{
    // The path ends at its zero or at the end of the data, whichever comes first.
    const qsizetype zero = data.indexOf('\0');
    const QString path = platform::Codec::fromCp932(zero < 0 ? data : data.left(zero));
    // Never under a dialog that holds on to the current game (a dialog runs an event loop of its own,
    // inside the program's), nor inside an open under way, whose save question is such a dialog.
    const bool dialogOpen = QApplication::activeModalWidget() || QThread::currentThread()->loopLevel() > 1;
    if (path.isEmpty() || m_opening || dialogOpen)
        return false;
    m_opening = true;
    const bool opened = m_form->OpenRequestedGame(path);
    m_opening = false;
    return opened;
}

} // namespace hooptally
