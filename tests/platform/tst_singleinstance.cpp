// The single-instance guard: one holder per lock, released on destruction, and a lock left by a
// process that died does not block.
#include "platform/singleinstance.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <unistd.h>

class TestSingleInstance : public QObject {
    Q_OBJECT
private slots:
    void secondGuardSeesTheFirst();
    void guardOfAnotherProcessBlocksUntilItDies();
    void lockLeftByDeadProcessIsTakenOver();
    void unusableLockDoesNotBlock();
    void defaultLockIsPerUserAndExecutable();

private:
    QTemporaryDir m_dir;
    QString lockPath(const char* name) const { return m_dir.filePath(QLatin1String(name)); }
};

void TestSingleInstance::secondGuardSeesTheFirst()
{
    const QString path = lockPath("same-process.lock");
    {
        SingleInstance first(path);
        QVERIFY(!first.isRunning());
        SingleInstance second(path);
        QVERIFY(second.isRunning());
    }
    SingleInstance later(path);
    QVERIFY(!later.isRunning());
}

void TestSingleInstance::guardOfAnotherProcessBlocksUntilItDies()
{
    const QString path = lockPath("held.lock");
    QProcess holder;
    holder.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--hold-lock"), path});
    QVERIFY(holder.waitForReadyRead(20000));
    QCOMPARE(holder.readAllStandardOutput().trimmed(), QByteArray("locked"));
    {
        SingleInstance second(path);
        QVERIFY(second.isRunning());
    }
    // The holder crashes: its lock stays on disk but must not block the next start.
    holder.kill();
    QVERIFY(holder.waitForFinished(20000));
    QVERIFY(QFile::exists(path));
    SingleInstance next(path);
    QVERIFY(!next.isRunning());
}

void TestSingleInstance::lockLeftByDeadProcessIsTakenOver()
{
    const QString path = lockPath("stale.lock");
    QProcess leaver;
    leaver.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--lock-and-vanish"), path});
    QVERIFY(leaver.waitForFinished(20000));
    QCOMPARE(leaver.exitCode(), 0);
    QVERIFY(QFile::exists(path));

    SingleInstance guard(path);
    QVERIFY(!guard.isRunning());
    SingleInstance second(path);
    QVERIFY(second.isRunning());
}

void TestSingleInstance::unusableLockDoesNotBlock()
{
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("instance lock")));
    SingleInstance guard(lockPath("no/such/folder/x.lock"));
    QVERIFY(!guard.isRunning());
}

void TestSingleInstance::defaultLockIsPerUserAndExecutable()
{
    const QString path = SingleInstance::defaultLockFilePath();
    QCOMPARE(path, SingleInstance::defaultLockFilePath());
    QVERIFY(path.contains(QString::number(getuid())));
    QVERIFY(path.endsWith(QStringLiteral(".lock")));
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // Helper roles of this program for the tests above.
    if (argc == 3 && qstrcmp(argv[1], "--hold-lock") == 0) {
        SingleInstance guard(QString::fromLocal8Bit(argv[2]));
        if (guard.isRunning())
            return 3;
        std::puts("locked");
        std::fflush(stdout);
        for (;;)
            pause();
    }
    if (argc == 3 && qstrcmp(argv[1], "--lock-and-vanish") == 0) {
        SingleInstance guard(QString::fromLocal8Bit(argv[2]));
        _exit(guard.isRunning() ? 3 : 0); // no destructors: the lock file stays behind
    }
    TestSingleInstance test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_singleinstance.moc"
