#include "platform/CopyData.h"

#include <QDataStream>
#include <QDeadlineTimer>
#include <QHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMutex>
#include <QMutexLocker>
#include <QPointer>
#include <QThread>
#include <QUuid>
#include <QtEndian>

#include <limits>
#include <vector>

namespace platform {

namespace {

// A frame is a 4-byte little-endian body length, then the body written with QDataStream:
//   request  kind, requester handle (QString), dwData (quint64), data (QByteArray)
//   reply    kind, dwData, data
//   done     kind: the server has handled the request, no reply will follow
enum class FrameKind : quint8 { Request = 1, Reply = 2, Done = 3 };

struct Frame
{
    FrameKind kind = FrameKind::Done;
    QString handle;
    std::uintptr_t dwData = 0;
    QByteArray data;
};

constexpr qint64 kHeaderSize = 4;
// The largest data plus room for a handle and the fixed fields.
constexpr qint64 kMaxBodySize = kMaxCopyDataSize + 64 * 1024;
// What may wait unsent for one client: a client that sends requests and reads no replies would
// otherwise make the program keep every reply. One largest frame: a client that reads each reply
// before its next request never has more waiting.
constexpr qint64 kMaxUnreadBytes = kHeaderSize + kMaxBodySize;
constexpr int kDeliveryTimeoutMs = 3000;
constexpr int kProbeTimeoutMs = 200;

QByteArray encode(const Frame& frame)
{
    QByteArray body;
    QDataStream out(&body, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << static_cast<quint8>(frame.kind);
    if (frame.kind == FrameKind::Request)
        out << frame.handle;
    if (frame.kind != FrameKind::Done)
        out << static_cast<quint64>(frame.dwData) << frame.data;
    QByteArray result(kHeaderSize, '\0');
    qToLittleEndian<quint32>(static_cast<quint32>(body.size()), result.data());
    return result + body;
}

std::optional<Frame> decode(const QByteArray& body)
{
    QDataStream in(body);
    in.setVersion(QDataStream::Qt_6_0);
    quint8 kind = 0;
    in >> kind;
    Frame frame;
    quint64 dwData = 0;
    switch (static_cast<FrameKind>(kind)) {
    case FrameKind::Request:
        in >> frame.handle >> dwData >> frame.data;
        break;
    case FrameKind::Reply:
        in >> dwData >> frame.data;
        break;
    case FrameKind::Done:
        break;
    default:
        return std::nullopt;
    }
    if (in.status() != QDataStream::Ok || !in.atEnd())
        return std::nullopt;
    if (dwData > std::numeric_limits<std::uintptr_t>::max() || frame.data.size() > kMaxCopyDataSize)
        return std::nullopt;
    frame.kind = static_cast<FrameKind>(kind);
    frame.dwData = static_cast<std::uintptr_t>(dwData);
    return frame;
}

enum class Take { Incomplete, Malformed, Complete };

// Takes one whole frame's body from what the socket has buffered.
Take takeBody(QLocalSocket& socket, QByteArray& body)
{
    if (socket.bytesAvailable() < kHeaderSize)
        return Take::Incomplete;
    char header[kHeaderSize];
    if (socket.peek(header, kHeaderSize) != kHeaderSize)
        return Take::Incomplete;
    const quint32 size = qFromLittleEndian<quint32>(header);
    if (size == 0 || size > kMaxBodySize)
        return Take::Malformed;
    if (socket.bytesAvailable() < kHeaderSize + size)
        return Take::Incomplete;
    socket.skip(kHeaderSize);
    body = socket.read(size);
    return Take::Complete;
}

int remainingMs(const QDeadlineTimer& deadline)
{
    return deadline.isForever() ? -1 : static_cast<int>(deadline.remainingTime());
}

// The requests being dispatched in this thread, innermost last: SendCopyData to a requester's handle
// goes back on its connection.
struct ActiveRequest
{
    QString handle;
    QPointer<QLocalSocket> socket;
};
thread_local std::vector<ActiveRequest> t_activeRequests;

// Servers of this process, so a message to a window of the same thread is dispatched directly
// instead of waiting on a socket that only this thread's event loop would serve.
struct LocalServer
{
    MessageWindow* window;
    QThread* thread;
};
QMutex g_localServersMutex;
QHash<QString, LocalServer> g_localServers;

MessageWindow* windowInThisThread(const QString& handle)
{
    QMutexLocker lock(&g_localServersMutex);
    const auto it = g_localServers.constFind(handle);
    if (it == g_localServers.constEnd() || it->thread != QThread::currentThread())
        return nullptr;
    return it->window;
}

struct Outcome
{
    bool handled = false;
    std::optional<CopyDataStruct> reply;
};

// Sends a request and reads until the first reply or the server's end of request.
Outcome exchange(const QString& serverHandle, const Frame& request, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    socket.setReadBufferSize(kHeaderSize + kMaxBodySize);
    socket.connectToServer(serverHandle);
    if (!socket.waitForConnected(remainingMs(deadline)))
        return {};
    socket.write(encode(request));
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(remainingMs(deadline)))
            return {};
    }
    for (;;) {
        QByteArray body;
        const Take take = takeBody(socket, body);
        if (take == Take::Malformed)
            return {};
        if (take == Take::Incomplete) {
            if (!socket.waitForReadyRead(remainingMs(deadline)))
                return {};
            continue;
        }
        const auto frame = decode(body);
        if (!frame || frame->kind == FrameKind::Request)
            return {};
        if (frame->kind == FrameKind::Done)
            return {true, std::nullopt};
        return {true, CopyDataStruct{frame->dwData, frame->data}};
    }
}

} // namespace

CopyDataServer::CopyDataServer(MessageWindow* window, const QString& handle, QObject* parent)
    : QObject(parent), m_window(window), m_handle(handle), m_server(new QLocalServer(this))
{
    connect(m_server, &QLocalServer::newConnection, this, &CopyDataServer::onNewConnection);
    if (!m_server->listen(handle) && m_server->serverError() == QAbstractSocket::AddressInUseError) {
        // A name nobody answers on was left behind by a process that ended without closing it;
        // a live one belongs to someone else and is kept.
        QLocalSocket probe;
        probe.connectToServer(handle);
        if (!probe.waitForConnected(kProbeTimeoutMs)) {
            QLocalServer::removeServer(handle);
            m_server->listen(handle);
        }
    }
    if (isListening()) {
        QMutexLocker lock(&g_localServersMutex);
        g_localServers.insert(m_handle, LocalServer{m_window, thread()});
    }
}

CopyDataServer::~CopyDataServer()
{
    if (isListening()) {
        QMutexLocker lock(&g_localServersMutex);
        g_localServers.remove(m_handle);
    }
}

bool CopyDataServer::isListening() const
{
    return m_server->isListening();
}

void CopyDataServer::onNewConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        // Bounds what a client can make us buffer; a frame never needs more.
        socket->setReadBufferSize(kHeaderSize + kMaxBodySize);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { serve(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        serve(socket);
    }
}

void CopyDataServer::serve(QLocalSocket* socket)
{
    // A handler that runs an event loop (a modal form) may let more data arrive on the connection being
    // served; the outer call takes it up once its Dispatch has returned.
    for (const ActiveRequest& active : t_activeRequests) {
        if (active.socket == socket)
            return;
    }
    const QPointer<QLocalSocket> guard(socket);
    while (guard) {
        QByteArray body;
        const Take take = takeBody(*guard, body);
        if (take == Take::Incomplete)
            return;
        const auto frame = take == Take::Complete ? decode(body) : std::nullopt;
        if (!frame || frame->kind != FrameKind::Request) {
            guard->abort();
            guard->deleteLater();
            return;
        }
        QString requester = frame->handle;
        CopyDataStruct copyData{frame->dwData, frame->data};
        t_activeRequests.push_back({requester, guard});
        SendMessage(m_window, WM_COPYDATA, reinterpret_cast<WPARAM>(&requester), Lend(&copyData));
        t_activeRequests.pop_back();
        if (guard && guard->state() == QLocalSocket::ConnectedState) {
            guard->write(encode(Frame{FrameKind::Done, {}, 0, {}}));
            guard->flush();
        }
        if (guard && guard->bytesToWrite() > kMaxUnreadBytes) {
            guard->abort();
            guard->deleteLater();
            return;
        }
    }
}

bool SendCopyData(const QString& targetHandle, std::uintptr_t dwData, const QByteArray& data)
{
    if (data.size() > kMaxCopyDataSize)
        return false;
    for (auto it = t_activeRequests.rbegin(); it != t_activeRequests.rend(); ++it) {
        if (it->handle != targetHandle)
            continue;
        if (!it->socket || it->socket->state() != QLocalSocket::ConnectedState)
            return false;
        it->socket->write(encode(Frame{FrameKind::Reply, {}, dwData, data}));
        it->socket->flush();
        return true;
    }
    if (MessageWindow* window = windowInThisThread(targetHandle)) {
        QString noRequester;
        CopyDataStruct copyData{dwData, data};
        SendMessage(window, WM_COPYDATA, reinterpret_cast<WPARAM>(&noRequester), Lend(&copyData));
        return true;
    }
    return exchange(targetHandle, Frame{FrameKind::Request, {}, dwData, data}, kDeliveryTimeoutMs).handled;
}

std::optional<CopyDataStruct> RequestCopyData(const QString& serverHandle, std::uintptr_t dwData,
                                              const QByteArray& data, int timeoutMs)
{
    if (data.size() > kMaxCopyDataSize)
        return std::nullopt;
    // The handle the server's window replies to; unique so that nested requests do not mix.
    const QString requester = QStringLiteral("hoop-requester-") + QUuid::createUuid().toString(QUuid::Id128);
    return exchange(serverHandle, Frame{FrameKind::Request, requester, dwData, data}, timeoutMs).reply;
}

} // namespace platform
