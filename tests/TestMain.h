#pragma once

#include <QObject>
#include <QTest>

#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <tuple>

// Several QtTest classes in one executable, each registered with HOPTRACE_TEST(Class). A
// class registered with a condition runs only where it holds, or when named with "-class":
// the cases that need a private network or bus run in a second start inside it. (QtTest
// carries a skip in initTestCase over into the next class, so they must not simply skip.)
int RegisterTestClass(const char* name, std::function<std::unique_ptr<QObject>()> make,
                      std::function<bool()> runsHere = {});

#define HOPTRACE_TEST(Class) HOPTRACE_TEST_WHEN(Class, {})
#define HOPTRACE_TEST_WHEN(Class, condition)                                                                           \
    [[maybe_unused]] static const int registered##Class = RegisterTestClass(                                           \
        #Class, [] { return std::unique_ptr<QObject>(new Class); }, condition);

// The whole file at `path`; nothing when it cannot be read.
std::optional<QByteArray> ReadFile(const QString& path);
// Writes `bytes` as the whole file at `path`, made executable if asked; false when it cannot.
bool WriteFile(const QString& path, const QByteArray& bytes, bool executable = false);

// How deep inside the delivery of Qt events (input, timers, posted calls) the test now is:
// 0 in the test function itself, more inside a handler.
int EventDeliveryDepth();

// The rows of columns of these types, each value converted to its column's type: row("blank", " ", 0).
template <typename... Types> struct RowOf {
    void operator()(const QByteArray& name, const Types&... values) const
    {
        (QTest::newRow(name.constData()) << ... << values);
    }
};

// const auto row = Columns<QString, int>("text", "found"); then a row("name", values...) for each row.
template <typename... Types, typename... Names> RowOf<Types...> Columns(const Names&... names)
{
    static_assert(sizeof...(Types) == sizeof...(Names), "one name per column type");
    (QTest::addColumn<Types>(names), ...);
    return {};
}

// One row per entry of a table of named entries, its column "entry" the entry's place in the table.
template <typename Table> void EntryRows(const Table& table)
{
    const auto row = Columns<int>("entry");
    for (int i = 0; i < int(std::size(table)); ++i)
        row(table[i].name, i);
}

// The current row's values: auto [text, found] = Fetch<QString, int>("text", "found").
template <typename... Types, typename... Names> std::tuple<Types...> Fetch(const Names&... names)
{
    return {*static_cast<Types*>(QTest::qData(names, qMetaTypeId<Types>()))...};
}
