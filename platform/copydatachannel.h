#pragma once

#include "copydata.h"

#include <QLocalServer>
#include <QObject>

#include <functional>
#include <map>

class QLocalSocket;
class QTimer;

// A per-user local socket through which another process hands the program copy-data messages.
// On the wire a message is the tag (32 bits), the byte count (32 bits), both little-endian, and
// then that many bytes; one connection may carry several messages.
//
// Only the same user can connect (the socket lives in the user's runtime folder, is made with
// user-only access, and each peer's credentials are checked). A message that claims more than
// kMaxMessageBytes, a peer that stalls for stallTimeout() in the middle of a message, and a peer
// that disconnects early are dropped; nothing ever blocks the GUI thread.
class CopyDataServer : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(const CopyDataRecord&)>;

    static constexpr uint32_t kMaxMessageBytes = 64 * 1024;
    static constexpr int kMaxConnections = 8;

    explicit CopyDataServer(QObject* parent = nullptr);
    ~CopyDataServer() override;

    // Receives every complete message, queued to the event loop (never inside socket handling).
    void setHandler(Handler handler) { m_handler = std::move(handler); }

    // Starts listening under `name` (a path, or a bare name placed in the temporary folder).
    // A socket file left behind by a server that is gone is replaced; a live server is not.
    bool listen(const QString& name = defaultServerName());
    void close();
    bool isListening() const { return m_server.isListening(); }
    QString fullServerName() const { return m_server.fullServerName(); }

    int stallTimeout() const { return m_stallTimeoutMs; }
    void setStallTimeout(int ms) { m_stallTimeoutMs = ms; }
    int connectionCount() const { return int(m_connections.size()); }

    // In the user's runtime folder, named after the user and the executable.
    static QString defaultServerName();
    // The name the program at executablePath listens under, for senders.
    static QString serverNameFor(const QString& executablePath);

private:
    struct Connection {
        QTimer* stall = nullptr;
        QByteArray header;
        QByteArray body;
        uint32_t tag = 0;
        uint32_t count = 0;
    };

    void acceptPending();
    void readFrom(QLocalSocket* socket);
    void drop(QLocalSocket* socket);

    QLocalServer m_server;
    std::map<QLocalSocket*, Connection> m_connections;
    Handler m_handler;
    int m_stallTimeoutMs = 5000;
};

// Sends one message and waits until it is handed to the system, at most timeoutMs for each step.
// False when no server listens, the bytes exceed the limit or the transfer fails.
bool sendCopyData(const QString& serverName, uint32_t tag, const QByteArray& bytes,
                  int timeoutMs = 3000);

// The eight header bytes of a message, for senders that build their own frames.
QByteArray copyDataHeader(uint32_t tag, uint32_t byteCount);
