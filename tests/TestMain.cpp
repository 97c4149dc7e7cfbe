#include "TestMain.h"
#include "platform/Utf8Locale.h"

#include <QFile>
#include <QStandardPaths>
#include <QTest>

#include <string>
#include <vector>

// The window's tests need a QApplication. The engine's are built without HOPTRACE_TEST_WIDGETS:
// a QCoreApplication, and no window system loaded, as in the command line.
#ifdef HOPTRACE_TEST_WIDGETS
#include <QApplication>
using TestApplicationBase = QApplication;
#else
#include <QCoreApplication>
using TestApplicationBase = QCoreApplication;
#endif

namespace {
struct Entry {
    const char* name;
    std::function<std::unique_ptr<QObject>()> make;
    std::function<bool()> runsHere;
};
std::vector<Entry>& registry()
{
    static std::vector<Entry> entries;
    return entries;
}

int deliveryDepth = 0;

// Counts the handlers under way, so that virtual time can refuse to move from inside one.
class TestApplication final : public TestApplicationBase {
public:
    using TestApplicationBase::TestApplicationBase;
    bool notify(QObject* receiver, QEvent* event) override
    {
        ++deliveryDepth;
        const bool handled = TestApplicationBase::notify(receiver, event);
        --deliveryDepth;
        return handled;
    }
};
} // namespace

int EventDeliveryDepth() { return deliveryDepth; }

std::optional<QByteArray> ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? std::optional(file.readAll()) : std::nullopt;
}

bool WriteFile(const QString& path, const QByteArray& bytes, bool executable)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()
        && (!executable || file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

int RegisterTestClass(const char* name, std::function<std::unique_ptr<QObject>()> make, std::function<bool()> runsHere)
{
    registry().push_back({name, std::move(make), std::move(runsHere)});
    return static_cast<int>(registry().size());
}

int main(int argc, char* argv[])
{
    UseUtf8LocaleWhereNoneIsSet();
    TestApplication app(argc, argv);
    // The programs' names, so that settings and data are found as the programs find them, in
    // test locations apart from the user's own.
    QCoreApplication::setOrganizationName(QStringLiteral("Tavik"));
    QCoreApplication::setApplicationName(QStringLiteral("Hoptrace"));
    QStandardPaths::setTestModeEnabled(true);
    // "-class Name" runs one class; every other argument goes to QtTest.
    std::string only;
    std::vector<char*> args{argv[0]};
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "-class" && i + 1 < argc)
            only = argv[++i];
        else
            args.push_back(argv[i]);
    }
    int failures = 0;
    for (const Entry& entry : registry())
        if (only.empty() ? !entry.runsHere || entry.runsHere() : only == entry.name)
            failures += QTest::qExec(entry.make().get(), static_cast<int>(args.size()), args.data());
    return failures == 0 ? 0 : 1;
}
