#include "copydatachannel.h"

#include "instancekey.h"

#include <QDebug>
#include <QLocalSocket>
#include <QTimer>
#include <QtEndian>

#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kHeaderBytes = 8;

bool peerIsSameUser(const QLocalSocket& socket)
{
    ucred cred{};
    socklen_t length = sizeof cred;
    if (getsockopt(int(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &cred, &length) != 0)
        return false;
    return cred.uid == getuid();
}

} // namespace

QByteArray copyDataHeader(uint32_t tag, uint32_t byteCount)
{
    QByteArray header(kHeaderBytes, '\0');
    qToLittleEndian(tag, header.data());
    qToLittleEndian(byteCount, header.data() + 4);
    return header;
}

CopyDataServer::CopyDataServer(QObject* parent) : QObject(parent)
{
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    m_server.setMaxPendingConnections(kMaxConnections);
    connect(&m_server, &QLocalServer::newConnection, this, &CopyDataServer::acceptPending);
}

CopyDataServer::~CopyDataServer()
{
    close();
}

QString CopyDataServer::defaultServerName()
{
    return userRuntimeDirectory() + QLatin1Char('/') + instanceKey() + QStringLiteral(".copydata");
}

QString CopyDataServer::serverNameFor(const QString& executablePath)
{
    return userRuntimeDirectory() + QLatin1Char('/') + instanceKey(executablePath) +
           QStringLiteral(".copydata");
}

bool CopyDataServer::listen(const QString& name)
{
    // Listening with user-only access renames the new socket over any file of that name, so a
    // live server has to be found first; a socket file nobody answers behind is left over.
    QLocalSocket probe;
    probe.connectToServer(name);
    if (probe.waitForConnected(500)) {
        probe.abort();
        return false;
    }
    QLocalServer::removeServer(name);
    return m_server.listen(name);
}

void CopyDataServer::close()
{
    m_server.close();
    while (!m_connections.empty())
        drop(m_connections.begin()->first);
}

void CopyDataServer::acceptPending()
{
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        if (int(m_connections.size()) >= kMaxConnections || !peerIsSameUser(*socket)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        socket->setReadBufferSize(kHeaderBytes + kMaxMessageBytes);
        Connection& c = m_connections[socket];
        c.stall = new QTimer(socket);
        c.stall->setSingleShot(true);
        connect(c.stall, &QTimer::timeout, this, [this, socket] { drop(socket); });
        c.stall->start(m_stallTimeoutMs);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] { drop(socket); });
        connect(socket, &QLocalSocket::errorOccurred, this, [this, socket] { drop(socket); });
        readFrom(socket);
        if (socket->state() == QLocalSocket::UnconnectedState)
            drop(socket);
    }
}

void CopyDataServer::readFrom(QLocalSocket* socket)
{
    auto it = m_connections.find(socket);
    if (it == m_connections.end())
        return;
    Connection& c = it->second;
    bool progress = false;
    for (;;) {
        if (c.header.size() < kHeaderBytes) {
            const QByteArray part = socket->read(kHeaderBytes - c.header.size());
            if (part.isEmpty())
                break;
            progress = true;
            c.header += part;
            if (c.header.size() < kHeaderBytes)
                break;
            c.tag = qFromLittleEndian<uint32_t>(c.header.constData());
            c.count = qFromLittleEndian<uint32_t>(c.header.constData() + 4);
            if (c.count > kMaxMessageBytes) {
                qWarning() << "copy-data message too large:" << c.count << "bytes; dropped";
                drop(socket);
                return;
            }
            c.body.reserve(qsizetype(c.count));
        }
        if (uint32_t(c.body.size()) < c.count) {
            const QByteArray part = socket->read(qint64(c.count) - c.body.size());
            if (part.isEmpty())
                break;
            progress = true;
            c.body += part;
            if (uint32_t(c.body.size()) < c.count)
                break;
        }
        CopyDataRecord record{c.tag, c.body, c.count};
        c.header.clear();
        c.body.clear();
        c.tag = c.count = 0;
        QMetaObject::invokeMethod(
            this,
            [this, record] {
                if (m_handler)
                    m_handler(record);
            },
            Qt::QueuedConnection);
    }
    if (progress)
        c.stall->start(m_stallTimeoutMs);
}

void CopyDataServer::drop(QLocalSocket* socket)
{
    auto it = m_connections.find(socket);
    if (it == m_connections.end())
        return;
    it->second.stall->stop();
    m_connections.erase(it);
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}

bool sendCopyData(const QString& serverName, uint32_t tag, const QByteArray& bytes, int timeoutMs)
{
    if (uint64_t(bytes.size()) > CopyDataServer::kMaxMessageBytes)
        return false;
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    const QByteArray frame = copyDataHeader(tag, uint32_t(bytes.size())) + bytes;
    if (socket.write(frame) != frame.size())
        return false;
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(timeoutMs))
            return false;
    }
    socket.disconnectFromServer();
    return true;
}
