#include "TestMain.h"

#include "platform/linux/LinuxTempDir.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

// TMPDIR points at a fresh folder, base_, while these cases run.
class LinuxTempDirTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { qputenv("TMPDIR", base_.path().toLocal8Bit()); }
    void cleanupTestCase() { qputenv("TMPDIR", oldTmpDir_); }
    void privateDirIsOwnAndRemovedAndNothingElseIs()
    {
        QTemporaryDir outside;
        QVERIFY(QFile(outside.filePath(QStringLiteral("precious"))).open(QIODevice::WriteOnly));
        const mode_t oldMask = umask(0); // the mode must not depend on the umask
        LinuxTempDir temp;
        const auto dir = temp.createPrivateDir();
        umask(oldMask);
        const QString path = QString::fromStdString(dir.value_or(""));
        QVERIFY2(path.startsWith(base_.path() + "/hoptrace-") && path.endsWith('/'), qPrintable(path));
        struct stat info{};
        QCOMPARE(stat(dir->c_str(), &info), 0);
        QCOMPARE(info.st_mode & 07777, mode_t(0700));
        QVERIFY(QDir().mkpath(path + QStringLiteral("sub")));
        QVERIFY(QFile::link(outside.path(), path + QStringLiteral("sub/link")));
        temp.removePrivateDir(*dir);
        QVERIFY(!QFileInfo::exists(path));
        QVERIFY2(QFileInfo::exists(outside.filePath(QStringLiteral("precious"))), "a link inside was followed");
        // Each foreign folder holds a file; removal is asked for the folder itself or a path to it.
        QVERIFY(QDir().mkpath(base_.filePath(QStringLiteral("hoptrace-abc123"))));
        for (const auto& [victim, asked] : {std::pair{"", "/"},
                                            {"other-abc123", "/other-abc123/"},
                                            {"hoptrace-abc1234", "/hoptrace-abc1234/"},
                                            {"keep", "/hoptrace-abc123/../keep/"},
                                            {"elsewhere/hoptrace-abc123", "/elsewhere/hoptrace-abc123/"}}) {
            const QString precious = base_.path() + '/' + victim + QStringLiteral("/precious");
            QVERIFY(QDir().mkpath(QFileInfo(precious).path()));
            QVERIFY(QFile(precious).open(QIODevice::WriteOnly));
            LinuxTempDir().removePrivateDir(base_.path().toStdString() + asked);
            QVERIFY2(QFileInfo::exists(precious), asked);
        }
    }

private:
    const QByteArray oldTmpDir_ = QDir::tempPath().toLocal8Bit();
    QTemporaryDir base_;
};

HOPTRACE_TEST(LinuxTempDirTest)
#include "LinuxTempDirTest.moc"
