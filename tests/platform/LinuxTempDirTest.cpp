#include "TestMain.h"

#include "platform/linux/LinuxTempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

// Sets TMPDIR for one test and puts the old value back afterwards.
class ScopedTmpDir final {
public:
    explicit ScopedTmpDir(const QByteArray* value) : had_(qEnvironmentVariableIsSet("TMPDIR")), old_(qgetenv("TMPDIR"))
    {
        if (value)
            qputenv("TMPDIR", *value);
        else
            qunsetenv("TMPDIR");
    }
    ~ScopedTmpDir()
    {
        if (had_)
            qputenv("TMPDIR", old_);
        else
            qunsetenv("TMPDIR");
    }

private:
    bool had_;
    QByteArray old_;
};

bool WriteFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("x") == 1;
}

} // namespace

class LinuxTempDirTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void systemTempDir_data()
    {
        QTest::addColumn<QString>("tmpdir"); // "<base>" stands for a fresh folder; "-" for unset
        QTest::addColumn<QString>("expected");
        QTest::newRow("unset") << "-" << "/tmp/";
        QTest::newRow("empty") << "" << "/tmp/";
        QTest::newRow("not a folder") << "<base>/missing" << "/tmp/";
        QTest::newRow("folder") << "<base>" << "<base>/";
        QTest::newRow("folder with separator") << "<base>/" << "<base>/";
        QTest::newRow("blanks in the name") << "<base>/with blanks" << "<base>/with blanks/";
        QTest::newRow("longer than 255 characters") << "<base>/" + QString(200, 'a') + "/" + QString(100, 'b')
                                                    << "<base>/" + QString(200, 'a') + "/" + QString(100, 'b') + "/";
    }
    void systemTempDir()
    {
        QFETCH(QString, tmpdir);
        QFETCH(QString, expected);
        QTemporaryDir base;
        const QString value = QString(tmpdir).replace(QStringLiteral("<base>"), base.path());
        if (tmpdir.startsWith(QStringLiteral("<base>/")) && !tmpdir.endsWith(QStringLiteral("missing")))
            QVERIFY(QDir().mkpath(value));
        const QByteArray bytes = value.toLocal8Bit();
        ScopedTmpDir scoped(tmpdir == QStringLiteral("-") ? nullptr : &bytes);
        LinuxTempDir temp;
        const auto dir = temp.systemTempDir();
        QVERIFY(dir.has_value());
        QCOMPARE(QString::fromStdString(*dir), QString(expected).replace(QStringLiteral("<base>"), base.path()));
    }

    void privateDirIsOwnAndRemoved()
    {
        QTemporaryDir base;
        const QByteArray bytes = base.path().toLocal8Bit();
        ScopedTmpDir scoped(&bytes);
        const mode_t oldMask = umask(0); // the mode must not depend on the umask
        LinuxTempDir temp;
        const auto dir = temp.createPrivateDir();
        umask(oldMask);
        QVERIFY(dir.has_value());
        const QString path = QString::fromStdString(*dir);
        QVERIFY(path.endsWith('/'));
        QVERIFY(path.startsWith(base.path() + QStringLiteral("/hoptrace-")));
        struct stat info {};
        QCOMPARE(stat(dir->c_str(), &info), 0);
        QCOMPARE(info.st_mode & 07777, mode_t(0700));

        QVERIFY(WriteFile(path + QStringLiteral("TK.bat")));
        QVERIFY(QDir().mkpath(path + QStringLiteral("sub")));
        QVERIFY(WriteFile(path + QStringLiteral("sub/log.txt")));
        temp.removePrivateDir(*dir);
        QVERIFY(!QFileInfo::exists(path));
    }

    void twoPrivateDirsDiffer()
    {
        LinuxTempDir temp;
        const auto first = temp.createPrivateDir();
        const auto second = temp.createPrivateDir();
        QVERIFY(first && second);
        QVERIFY(*first != *second);
        temp.removePrivateDir(*first);
        temp.removePrivateDir(*second);
        QVERIFY(!QFileInfo::exists(QString::fromStdString(*first)));
        QVERIFY(!QFileInfo::exists(QString::fromStdString(*second)));
    }

    void refusesForeignPaths_data()
    {
        QTest::addColumn<QString>("victim"); // made as a folder holding a file, under <base>
        QTest::addColumn<QString>("asked");  // what removePrivateDir is given
        QTest::newRow("the temp folder itself") << "" << "<base>/";
        QTest::newRow("another name") << "other-abc123" << "<base>/other-abc123/";
        QTest::newRow("name too short") << "hoptrace-abc" << "<base>/hoptrace-abc/";
        QTest::newRow("name too long") << "hoptrace-abc1234" << "<base>/hoptrace-abc1234/";
        QTest::newRow("dots after the name") << "keep" << "<base>/hoptrace-abc123/../keep/";
        QTest::newRow("outside the temp folder") << "elsewhere/hoptrace-abc123" << "<base>/elsewhere/hoptrace-abc123/";
    }
    void refusesForeignPaths()
    {
        QFETCH(QString, victim);
        QFETCH(QString, asked);
        QTemporaryDir base;
        const QByteArray bytes = base.path().toLocal8Bit();
        ScopedTmpDir scoped(&bytes);
        const QString victimPath = base.path() + '/' + victim;
        QVERIFY(QDir().mkpath(victimPath));
        QVERIFY(QDir().mkpath(base.path() + QStringLiteral("/hoptrace-abc123")));
        QVERIFY(WriteFile(victimPath + QStringLiteral("/precious")));
        LinuxTempDir temp;
        temp.removePrivateDir(QString(asked).replace(QStringLiteral("<base>"), base.path()).toStdString());
        QVERIFY(QFileInfo::exists(victimPath + QStringLiteral("/precious")));
    }

    void doesNotFollowALink()
    {
        QTemporaryDir base;
        QTemporaryDir target;
        QVERIFY(WriteFile(target.filePath(QStringLiteral("precious"))));
        const QByteArray bytes = base.path().toLocal8Bit();
        ScopedTmpDir scoped(&bytes);
        const QString link = base.filePath(QStringLiteral("hoptrace-abc123"));
        QVERIFY(QFile::link(target.path(), link));
        LinuxTempDir temp;
        temp.removePrivateDir((link + '/').toStdString());
        QVERIFY(QFileInfo::exists(target.filePath(QStringLiteral("precious"))));

        // A link inside a private folder goes, what it points to stays.
        const auto dir = temp.createPrivateDir();
        QVERIFY(dir.has_value());
        QVERIFY(QFile::link(target.path(), QString::fromStdString(*dir) + QStringLiteral("inner")));
        temp.removePrivateDir(*dir);
        QVERIFY(!QFileInfo::exists(QString::fromStdString(*dir)));
        QVERIFY(QFileInfo::exists(target.filePath(QStringLiteral("precious"))));
    }
};

HOPTRACE_TEST(LinuxTempDirTest)
#include "LinuxTempDirTest.moc"
