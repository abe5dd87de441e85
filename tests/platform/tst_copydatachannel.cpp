// The copy-data channel between processes of the same user, and the check of the text it carries.
#include "platform/copydatachannel.h"

#include <QFileInfo>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray frame(uint32_t tag, const QByteArray& bytes)
{
    return copyDataHeader(tag, uint32_t(bytes.size())) + bytes;
}

} // namespace

class TestCopyDataChannel : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void textCheck_data();
    void textCheck();
    void messagesArrive_data();
    void messagesArrive();
    void severalMessagesOnOneConnection();
    void largestMessagePasses();
    void hugeClaimIsDropped();
    void clientDyingMidMessageIsDropped();
    void stalledClientIsDropped();
    void connectionsAreLimited();
    void socketIsPrivateToTheUser();
    void otherUserCannotConnect();
    void staleSocketIsReplacedLiveOneIsNot();
    void sendingWithoutServerFails();

private:
    void waitUntilDropped(QLocalSocket& socket);

    QTemporaryDir* m_dir = nullptr;
    CopyDataServer* m_server = nullptr;
    QList<CopyDataRecord> m_records;
    QString m_name;
};

void TestCopyDataChannel::init()
{
    m_dir = new QTemporaryDir;
    QVERIFY(m_dir->isValid());
    m_name = m_dir->filePath(QStringLiteral("copydata"));
    m_server = new CopyDataServer;
    m_records.clear();
    m_server->setHandler([this](const CopyDataRecord& r) { m_records.append(r); });
    QVERIFY(m_server->listen(m_name));
}

void TestCopyDataChannel::cleanup()
{
    delete m_server;
    m_server = nullptr;
    delete m_dir;
    m_dir = nullptr;
}

void TestCopyDataChannel::waitUntilDropped(QLocalSocket& socket)
{
    QTRY_COMPARE_WITH_TIMEOUT(socket.state(), QLocalSocket::UnconnectedState, 10000);
}

void TestCopyDataChannel::textCheck_data()
{
    QTest::addColumn<uint>("tag");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<uint>("count");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QString>("text");

    const QString none;
    QTest::newRow("plain text") << 9487u << QByteArray("hello") << 5u << true
                                << QStringLiteral("hello");
    QTest::newRow("UTF-8 text") << 9487u
                                << QByteArray("gr\xC3\xBC\xC3\x9F"
                                              "e")
                                << 7u << true << QStringLiteral("gr\u00FC\u00DFe");
    QTest::newRow("four-byte character") << 9487u << QByteArray("\xF0\x9F\x98\x80") << 4u << true
                                         << QString::fromUtf8("\xF0\x9F\x98\x80");
    QTest::newRow("empty") << 9487u << QByteArray() << 0u << true << QString();
    QTest::newRow("byte-order mark is kept")
        << 9487u << QByteArray("\xEF\xBB\xBFhi") << 5u << true << QStringLiteral("\uFEFFhi");
    QTest::newRow("wrong tag") << 9486u << QByteArray("hello") << 5u << false << none;
    QTest::newRow("tag zero") << 0u << QByteArray("hello") << 5u << false << none;
    QTest::newRow("terminator counted") << 9487u << QByteArray("hello", 6) << 6u << false << none;
    QTest::newRow("text ends early") << 9487u << QByteArray("hel\0lo", 6) << 6u << false << none;
    QTest::newRow("count beyond the bytes") << 9487u << QByteArray("hi") << 100u << false << none;
    QTest::newRow("only the claimed bytes are read")
        << 9487u << QByteArray("hello world") << 5u << true << QStringLiteral("hello");
    QTest::newRow("invalid byte") << 9487u
                                  << QByteArray("a\xFF"
                                                "b")
                                  << 3u << false << none;
    // Replacement characters would make these look the right length.
    QTest::newRow("cut four-byte sequence")
        << 9487u << QByteArray("\xF0\x9F\x98") << 3u << false << none;
    QTest::newRow("overlong slash") << 9487u
                                    << QByteArray("\xC0\xAF"
                                                  "x")
                                    << 3u << false << none;
    QTest::newRow("surrogate") << 9487u << QByteArray("\xED\xA0\x80") << 3u << false << none;
}

void TestCopyDataChannel::textCheck()
{
    QFETCH(uint, tag);
    QFETCH(QByteArray, bytes);
    QFETCH(uint, count);
    QFETCH(bool, shown);
    QFETCH(QString, text);

    const std::optional<QString> result = copyDataText({tag, bytes, count});
    QCOMPARE(result.has_value(), shown);
    if (shown)
        QCOMPARE(*result, text);
}

void TestCopyDataChannel::messagesArrive_data()
{
    QTest::addColumn<uint>("tag");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("shown");

    QTest::newRow("text") << 9487u << QByteArray("Hallo \xE2\x82\xAC") << true;
    QTest::newRow("wrong tag") << 1u << QByteArray("hello") << false;
    QTest::newRow("count is not the text's length") << 9487u << QByteArray("hi\0", 3) << false;
    QTest::newRow("invalid UTF-8") << 9487u << QByteArray("\xC3\x28") << false;
}

void TestCopyDataChannel::messagesArrive()
{
    QFETCH(uint, tag);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, shown);

    QVERIFY(sendCopyData(m_server->fullServerName(), tag, bytes));
    QTRY_COMPARE_WITH_TIMEOUT(m_records.size(), 1, 10000);
    const CopyDataRecord& r = m_records.first();
    QCOMPARE(r.tag, tag);
    QCOMPARE(r.bytes, bytes);
    QCOMPARE(r.byteCount, uint32_t(bytes.size()));
    QCOMPARE(copyDataText(r).has_value(), shown);
}

void TestCopyDataChannel::severalMessagesOnOneConnection()
{
    QLocalSocket client;
    client.connectToServer(m_name);
    QVERIFY(client.waitForConnected(5000));
    // Split across writes at awkward places: inside the header and inside the bytes.
    const QByteArray all = frame(9487, "one") + frame(7, "") + frame(9487, "three");
    client.write(all.left(5));
    QVERIFY(client.waitForBytesWritten(5000));
    QTest::qWait(20);
    client.write(all.mid(5, 4));
    QVERIFY(client.waitForBytesWritten(5000));
    QTest::qWait(20);
    client.write(all.mid(9));
    QVERIFY(client.waitForBytesWritten(5000));
    QTRY_COMPARE_WITH_TIMEOUT(m_records.size(), 3, 10000);
    QCOMPARE(m_records[0].bytes, QByteArray("one"));
    QCOMPARE(m_records[1].tag, 7u);
    QCOMPARE(m_records[1].byteCount, 0u);
    QCOMPARE(m_records[2].bytes, QByteArray("three"));
}

void TestCopyDataChannel::largestMessagePasses()
{
    const QByteArray big(int(CopyDataServer::kMaxMessageBytes), 'x');
    QVERIFY(sendCopyData(m_name, 9487, big));
    QTRY_COMPARE_WITH_TIMEOUT(m_records.size(), 1, 10000);
    QCOMPARE(m_records[0].bytes, big);
    QVERIFY(copyDataText(m_records[0]).has_value());
    // One byte more is refused by the sender.
    QVERIFY(!sendCopyData(m_name, 9487, big + 'x'));
}

void TestCopyDataChannel::hugeClaimIsDropped()
{
    QLocalSocket client;
    client.connectToServer(m_name);
    QVERIFY(client.waitForConnected(5000));
    client.write(copyDataHeader(9487, 0x7FFFFFFF) + QByteArray(100, 'x'));
    QVERIFY(client.waitForBytesWritten(5000));
    waitUntilDropped(client);
    QTRY_COMPARE(m_server->connectionCount(), 0);

    QVERIFY(sendCopyData(m_name, 9487, "after"));
    QTRY_COMPARE_WITH_TIMEOUT(m_records.size(), 1, 10000);
    QCOMPARE(m_records[0].bytes, QByteArray("after"));
}

void TestCopyDataChannel::clientDyingMidMessageIsDropped()
{
    {
        QLocalSocket client;
        client.connectToServer(m_name);
        QVERIFY(client.waitForConnected(5000));
        client.write(copyDataHeader(9487, 10) + "abc");
        QVERIFY(client.waitForBytesWritten(5000));
        QTRY_COMPARE(m_server->connectionCount(), 1);
        client.abort();
    }
    QTRY_COMPARE_WITH_TIMEOUT(m_server->connectionCount(), 0, 10000);
    {
        // Half a header, then gone.
        QLocalSocket client;
        client.connectToServer(m_name);
        QVERIFY(client.waitForConnected(5000));
        client.write("\x0F\x25\x00", 3);
        QVERIFY(client.waitForBytesWritten(5000));
        client.disconnectFromServer();
    }
    QTRY_COMPARE_WITH_TIMEOUT(m_server->connectionCount(), 0, 10000);
    QTest::qWait(50);
    QVERIFY(m_records.isEmpty());

    QVERIFY(sendCopyData(m_name, 9487, "still here"));
    QTRY_COMPARE_WITH_TIMEOUT(m_records.size(), 1, 10000);
}

void TestCopyDataChannel::stalledClientIsDropped()
{
    m_server->setStallTimeout(50);
    QLocalSocket client;
    client.connectToServer(m_name);
    QVERIFY(client.waitForConnected(5000));
    client.write(copyDataHeader(9487, 5) + "ab");
    QVERIFY(client.waitForBytesWritten(5000));
    waitUntilDropped(client);
    QCOMPARE(m_server->connectionCount(), 0);
    QVERIFY(m_records.isEmpty());
}

void TestCopyDataChannel::connectionsAreLimited()
{
    std::vector<std::unique_ptr<QLocalSocket>> clients;
    for (int i = 0; i < CopyDataServer::kMaxConnections; ++i) {
        clients.push_back(std::make_unique<QLocalSocket>());
        clients.back()->connectToServer(m_name);
        QVERIFY(clients.back()->waitForConnected(5000));
    }
    QTRY_COMPARE_WITH_TIMEOUT(m_server->connectionCount(), CopyDataServer::kMaxConnections, 10000);
    QLocalSocket extra;
    extra.connectToServer(m_name);
    waitUntilDropped(extra);
    QCOMPARE(m_server->connectionCount(), CopyDataServer::kMaxConnections);

    // Once the idle ones leave, messages get through again.
    clients.clear();
    QTRY_COMPARE_WITH_TIMEOUT(m_server->connectionCount(), 0, 10000);
    QVERIFY(sendCopyData(m_name, 9487, "ok"));
    QTRY_COMPARE_WITH_TIMEOUT(m_records.size(), 1, 10000);
}

void TestCopyDataChannel::socketIsPrivateToTheUser()
{
    const QFileInfo info(m_server->fullServerName());
    QVERIFY(info.exists());
    QCOMPARE(info.ownerId(), uint(getuid()));
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                      QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    QCOMPARE(info.permissions() & others, QFile::Permissions());
    // The default name lies in the user's runtime folder and names user and executable.
    const QString name = CopyDataServer::defaultServerName();
    QVERIFY(name.contains(QString::number(getuid())));
    QCOMPARE(name, CopyDataServer::defaultServerName());
}

void TestCopyDataChannel::otherUserCannotConnect()
{
    if (getuid() != 0)
        QSKIP("needs root to act as another user");
    // A folder everybody may enter, so only the socket's own protection is left.
    QVERIFY(QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::WriteOwner |
                                                     QFile::ExeOwner | QFile::ExeGroup |
                                                     QFile::ExeOther));
    CopyDataServer server;
    QList<CopyDataRecord> got;
    server.setHandler([&got](const CopyDataRecord& r) { got.append(r); });
    const QString name = m_dir->filePath(QStringLiteral("open"));
    QVERIFY(server.listen(name));

    const QByteArray path = QFile::encodeName(name);
    const QByteArray message = frame(9487, "intruder");
    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(2);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        qstrncpy(addr.sun_path, path.constData(), sizeof addr.sun_path);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0)
            _exit(0);
        (void)!::write(fd, message.constData(), size_t(message.size()));
        _exit(1);
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0); // the connection was refused
    QTest::qWait(50);
    QVERIFY(got.isEmpty());
}

void TestCopyDataChannel::staleSocketIsReplacedLiveOneIsNot()
{
    // A second server on a live name fails and leaves the first one working.
    CopyDataServer second;
    QVERIFY(!second.listen(m_name));
    QVERIFY(sendCopyData(m_name, 9487, "first"));
    QTRY_COMPARE_WITH_TIMEOUT(m_records.size(), 1, 10000);

    // A socket file whose owner died without removing it.
    const QString stale = m_dir->filePath(QStringLiteral("stale"));
    {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QVERIFY(fd >= 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        const QByteArray path = QFile::encodeName(stale);
        qstrncpy(addr.sun_path, path.constData(), sizeof addr.sun_path);
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
        ::close(fd);
    }
    QVERIFY(QFile::exists(stale));
    CopyDataServer replacement;
    QList<CopyDataRecord> got;
    replacement.setHandler([&got](const CopyDataRecord& r) { got.append(r); });
    QVERIFY(replacement.listen(stale));
    QVERIFY(sendCopyData(stale, 9487, "new"));
    QTRY_COMPARE_WITH_TIMEOUT(got.size(), 1, 10000);
}

void TestCopyDataChannel::sendingWithoutServerFails()
{
    QVERIFY(!sendCopyData(m_dir->filePath(QStringLiteral("nobody")), 9487, "x", 500));
}

QTEST_GUILESS_MAIN(TestCopyDataChannel)
#include "tst_copydatachannel.moc"
