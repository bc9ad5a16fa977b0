#pragma once

#include <cstdint>
#include <memory>

#include <QByteArray>
#include <QString>

#include "platform/Messages.h"

namespace platform {
class CopyDataServer;
}

namespace hooptally {

class THooptallyForm;

// Request and reply codes of the statistics requests (the low byte of dwData counts).
enum StatsRequestCode : std::uintptr_t {
    kOpenGameRequest = 0,
    kOpenGameReply = 1,
    kSnapshotRequest = 2,
    kSnapshotReply = 3,
};

// TGameStatsSnapshot: a fixed block, then the texts it refers to (docs/statistics-requests.md).
constexpr int kSnapshotSize = 3240;
constexpr int kSnapshotTeamOffset[2] = {24, 1632};
constexpr int kSnapshotTeamSize = 1608;
constexpr int kSnapshotSlots = 20;
constexpr int kSnapshotSlotSize = 80;
// Requests above this are refused unread.
constexpr int kMaxStatsRequestSize = 64 * 1024;

// The snapshot of the current game with its texts appended.
QByteArray BuildStatsSnapshot();

// The folder of the request servers of this user: only the user may enter it. Created when missing;
// empty when it cannot be made safe.
QString StatsRequestFolder();

// Answers the WM_COPYDATA requests of other programs: open a game file, send a statistics snapshot.
// Its local server, in the user's own folder, lives as long as the handler.
class TStatsRequestHandler
{
public:
    explicit TStatsRequestHandler(THooptallyForm* form);
    ~TStatsRequestHandler();
    TStatsRequestHandler(const TStatsRequestHandler&) = delete;
    TStatsRequestHandler& operator=(const TStatsRequestHandler&) = delete;

    // 1 for a handled request, 0 for any other; the received record's dwData is 0 afterwards.
    platform::LRESULT HandleStatsRequest(platform::Message& message);

private:
    bool OpenRequestedGame(const QByteArray& data);

    THooptallyForm* m_form;
    std::unique_ptr<platform::CopyDataServer> m_server;
    bool m_opening = false;
};

} // namespace hooptally
