#include "TestMain.h"

#include "platform/linux/LinuxTempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

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
    void cleanup()
    {
        qputenv("TMPDIR", oldTmpDir_);
        base_.reset();
    }

    void systemTempDir_data()
    {
        Columns<QString, QString>("tmpdir", "expected");
        Row("not a folder", "<base>/missing", "/tmp/");
        Row("folder", "<base>", "<base>/");
        Row("folder with separator", "<base>/", "<base>/");
    }
    void systemTempDir()
    {
        QFETCH(QString, tmpdir);
        QFETCH(QString, expected);
        qputenv("TMPDIR", inBase(tmpdir).toLocal8Bit());
        QCOMPARE(QString::fromStdString(LinuxTempDir().systemTempDir().value_or("?")), inBase(expected));
    }

    void privateDirIsOwnAndRemoved()
    {
        QTemporaryDir outside;
        QVERIFY(QFile(outside.filePath(QStringLiteral("precious"))).open(QIODevice::WriteOnly));
        const mode_t oldMask = umask(0); // the mode must not depend on the umask
        LinuxTempDir temp;
        const auto dir = temp.createPrivateDir();
        umask(oldMask);
        QVERIFY(dir.has_value());
        const QString path = QString::fromStdString(*dir);
        QVERIFY(path.startsWith(base_->path() + QStringLiteral("/hoptrace-")));
        QVERIFY(path.endsWith('/'));
        struct stat info { };
        QCOMPARE(stat(dir->c_str(), &info), 0);
        QCOMPARE(info.st_mode & 07777, mode_t(0700));

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
        Row("the temp folder itself", "", "<base>/");
        Row("another name", "other-abc123", "<base>/other-abc123/");
        Row("name too long", "hoptrace-abc1234", "<base>/hoptrace-abc1234/");
        Row("dots after the name", "keep", "<base>/hoptrace-abc123/../keep/");
        Row("outside the temp folder", "elsewhere/hoptrace-abc123", "<base>/elsewhere/hoptrace-abc123/");
    }
    void refusesForeignPaths()
    {
        QFETCH(QString, victim);
        QFETCH(QString, asked);
        const QString precious = base_->path() + '/' + victim + QStringLiteral("/precious");
        QVERIFY(QDir().mkpath(QFileInfo(precious).path()));
        QVERIFY(QDir().mkpath(base_->filePath(QStringLiteral("hoptrace-abc123"))));
        QVERIFY(QFile(precious).open(QIODevice::WriteOnly));
        LinuxTempDir().removePrivateDir(inBase(asked).toStdString());
        QVERIFY(QFileInfo::exists(precious));
    }

private:
    QString inBase(QString text) const { return text.replace(QStringLiteral("<base>"), base_->path()); }

    std::optional<QTemporaryDir> base_;
    QByteArray oldTmpDir_;
};

HOPTRACE_TEST(LinuxTempDirTest)
#include "LinuxTempDirTest.moc"
