// The working folder: the program's own, or a per-user copy of its data when that is read-only.
#include "shell/workingfolder.h"

#include "tests/support/permissions.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

void setReadOnly(const QString& path)
{
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                    QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
}

} // namespace

class TestWorkingFolder : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(home_.isValid());
        qputenv("XDG_DATA_HOME", home_.path().toUtf8());
        QCoreApplication::setApplicationName(QStringLiteral("meridax-mouse"));
        QVERIFY(dropPermissionBypass());
    }

    void writableProgramFolderIsUsed()
    {
        QTemporaryDir program;
        writeFile(program.filePath(QStringLiteral("modules/setting/apConfig.bin")), "[common]\n");
        QVERIFY(enterWorkingFolder(program.path()));
        QCOMPARE(QDir::currentPath(), QDir(program.path()).canonicalPath());
    }

    void readOnlyInstallGetsAUserCopy()
    {
        QTemporaryDir program;
        const QString global = program.filePath(QStringLiteral("modules/setting/apConfig.bin"));
        writeFile(global, "[common]\nname=Shipped\n");
        writeFile(program.filePath(QStringLiteral("modules/i18n/English.ini")), "[main]\n");
        setReadOnly(global);
        setReadOnly(program.filePath(QStringLiteral("modules/setting")));

        QVERIFY(enterWorkingFolder(program.path()));
        const QString user = userDataFolder();
        QCOMPARE(QDir::currentPath(), QDir(user).canonicalPath());
        QVERIFY(QFileInfo::exists(QStringLiteral("modules/i18n/English.ini")));
        QVERIFY(QDir(QStringLiteral("modules/macro")).exists());

        // Saving works in the copy.
        {
            QSettings s(QStringLiteral("modules/setting/apConfig.bin"), QSettings::IniFormat);
            s.setValue(QStringLiteral("common/name"), QStringLiteral("Mine"));
        }
        // A later start keeps the user's files and adds only what is new.
        writeFile(program.filePath(QStringLiteral("modules/gun/gunData.bin")), "[gunData]\n");
        QVERIFY(enterWorkingFolder(program.path()));
        QSettings s(QStringLiteral("modules/setting/apConfig.bin"), QSettings::IniFormat);
        QCOMPARE(s.value(QStringLiteral("common/name")).toString(), QStringLiteral("Mine"));
        QVERIFY(QFileInfo::exists(QStringLiteral("modules/gun/gunData.bin")));

        // So that the temporary folder can be removed again.
        QFile::setPermissions(program.filePath(QStringLiteral("modules/setting")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

private:
    QTemporaryDir home_;
};

QTEST_GUILESS_MAIN(TestWorkingFolder)
#include "tst_workingfolder.moc"
