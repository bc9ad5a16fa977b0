#pragma once

#include <cstdint>
#include <optional>

#include <QByteArray>
#include <QObject>
#include <QString>

#include "platform/Messages.h"

class QLocalServer;
class QLocalSocket;

// Cross-process WM_COPYDATA. A window's "handle" is the name of its local server.
namespace platform {

// What the receiving window's Dispatch gets in WM_COPYDATA, lent (read it with RecordOf); the WPARAM
// points to the requester's handle, a QString.
struct CopyDataStruct
{
    std::uintptr_t dwData = 0;
    QByteArray data;
};

// The most a request or reply may carry; larger ones are refused by the sender and dropped by the receiver.
constexpr qsizetype kMaxCopyDataSize = 1 << 20;

// A local server for one window: every request arrives as a synchronous WM_COPYDATA to the window;
// replies sent with SendCopyData to the requester's handle during that call go back to the requester.
// Lives in the window's thread and dispatches from its event loop.
class CopyDataServer : public QObject
{
    Q_OBJECT
public:
    CopyDataServer(MessageWindow* window, const QString& handle, QObject* parent = nullptr);
    ~CopyDataServer() override;
    bool isListening() const;
    QString handle() const { return m_handle; }

private:
    void onNewConnection();
    // Dispatches every complete request waiting on the connection; drops the connection on a malformed one.
    void serve(QLocalSocket* socket);

    MessageWindow* m_window;
    QString m_handle;
    QLocalServer* m_server;
};

// Sends a reply (or any message) to the window with that handle. During a request from that handle
// it goes back on the request's connection; otherwise it is delivered to the server of that name and
// waits until its window has handled it. Returns false when there is nobody to receive it.
bool SendCopyData(const QString& targetHandle, std::uintptr_t dwData, const QByteArray& data);

// Client side: sends one request and waits (blocking, up to timeoutMs) for the first reply.
// Nothing when the server is absent, it handled the request without replying, or it did not reply in
// time. Needs no event loop in the calling thread.
std::optional<CopyDataStruct> RequestCopyData(const QString& serverHandle, std::uintptr_t dwData,
                                              const QByteArray& data, int timeoutMs = 3000);

} // namespace platform
