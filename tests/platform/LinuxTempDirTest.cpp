#include "TestMain.h"

#include "platform/linux/LinuxTempDir.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

// Each case points TMPDIR at a fresh folder, <base>; cleanup() puts the old value back.
class LinuxTempDirTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        oldTmpDir_ = QDir::tempPath().toLocal8Bit();
        QVERIFY(base_.emplace().isValid());
        qputenv("TMPDIR", base_->path().toLocal8Bit());
    }
    void cleanup() { qputenv("TMPDIR", oldTmpDir_); }

    void systemTempDirFallsBackToTmp()
    {
        qputenv("TMPDIR", base_->filePath(QStringLiteral("missing")).toLocal8Bit());
        QCOMPARE(LinuxTempDir().systemTempDir().value_or("?"), "/tmp/");
    }

    void privateDirIsOwnAndRemoved()
    {
        QTemporaryDir outside;
        QVERIFY(QFile(outside.filePath(QStringLiteral("precious"))).open(QIODevice::WriteOnly));
        const mode_t oldMask = umask(0); // the mode must not depend on the umask
        LinuxTempDir temp;
        const auto dir = temp.createPrivateDir();
        umask(oldMask);
        const QString path = QString::fromStdString(dir.value_or(""));
        QVERIFY2(path.startsWith(base_->path() + "/hoptrace-") && path.endsWith('/'), qPrintable(path));
        QCOMPARE(QFile::permissions(path),
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadUser | QFile::WriteUser
                     | QFile::ExeUser);
        QVERIFY(QDir().mkpath(path + QStringLiteral("sub")));
        QVERIFY(QFile(path + QStringLiteral("sub/log.txt")).open(QIODevice::WriteOnly));
        QVERIFY(QFile::link(outside.path(), path + QStringLiteral("link")));
        temp.removePrivateDir(*dir);
        QVERIFY(!QFileInfo::exists(path));
        QVERIFY2(QFileInfo::exists(outside.filePath(QStringLiteral("precious"))), "a link inside was followed");
    }

    void refusesForeignPaths_data()
    {
        Columns<QString, QString>("victim", "asked"); // a folder holding a file under <base>; what removal is given
        Row("the temp folder itself", QString(), QStringLiteral("/"));
        Row("another name", QStringLiteral("other-abc123"), QStringLiteral("/other-abc123/"));
        Row("name too long", QStringLiteral("hoptrace-abc1234"), QStringLiteral("/hoptrace-abc1234/"));
        Row("dots after the name", QStringLiteral("keep"), QStringLiteral("/hoptrace-abc123/../keep/"));
        Row("outside the temp folder", QStringLiteral("elsewhere/hoptrace-abc123"),
            QStringLiteral("/elsewhere/hoptrace-abc123/"));
    }
    void refusesForeignPaths()
    {
        QFETCH(QString, victim);
        QFETCH(QString, asked);
        const QString precious = base_->path() + '/' + victim + QStringLiteral("/precious");
        QVERIFY(QDir().mkpath(QFileInfo(precious).path()));
        QVERIFY(QDir().mkpath(base_->filePath(QStringLiteral("hoptrace-abc123"))));
        QVERIFY(QFile(precious).open(QIODevice::WriteOnly));
        LinuxTempDir().removePrivateDir((base_->path() + asked).toStdString());
        QVERIFY(QFileInfo::exists(precious));
    }

private:
    std::optional<QTemporaryDir> base_;
    QByteArray oldTmpDir_;
};

HOPTRACE_TEST(LinuxTempDirTest)
#include "LinuxTempDirTest.moc"
