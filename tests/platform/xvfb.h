#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>

// A private X server for one test: started on a free display number, killed at the end.
class Xvfb {
public:
    ~Xvfb() { stop(); }

    bool start()
    {
        const QString exe = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (exe.isEmpty())
            return false;
        m_process.setProgram(exe);
        // -displayfd picks a free display and writes its number once the server is ready.
        m_process.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"),
                                QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                                QStringLiteral("-screen"), QStringLiteral("0"),
                                QStringLiteral("800x600x24")});
        m_process.setStandardErrorFile(QProcess::nullDevice());
        m_process.start();
        if (!m_process.waitForStarted(10000))
            return false;
        QByteArray out;
        while (!out.contains('\n')) {
            if (!m_process.waitForReadyRead(30000))
                return false;
            out += m_process.readAllStandardOutput();
        }
        m_display = ':' + out.trimmed();
        return true;
    }

    void kill()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.kill();
        m_process.waitForFinished(10000);
    }

    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            kill();
    }

    QByteArray display() const { return m_display; }

    // Runs xdotool against this server; true when it succeeded.
    bool xdotool(const QStringList& arguments) const
    {
        const QString exe = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
        if (exe.isEmpty())
            return false;
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(m_display));
        p.setProcessEnvironment(env);
        p.start(exe, arguments);
        return p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit &&
               p.exitCode() == 0;
    }

private:
    QProcess m_process;
    QByteArray m_display;
};
