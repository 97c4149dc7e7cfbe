#pragma once

#include <QObject>
#include <QTest>

#include <functional>
#include <memory>
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

// How deep inside the delivery of Qt events (input, timers, posted calls) the test now is:
// 0 in the test function itself, more inside a handler.
int EventDeliveryDepth();

// Columns<QString, int>("text", "found"); Row("blank", QString(" "), 0).
template <typename... Types, typename... Names> void Columns(const Names&... names)
{
    static_assert(sizeof...(Types) == sizeof...(Names), "one name per column type");
    (QTest::addColumn<Types>(names), ...);
}

template <typename... Values> void Row(const QByteArray& name, const Values&... values)
{
    (QTest::newRow(name.constData()) << ... << values);
}

// The current row's values: auto [text, found] = Fetch<QString, int>("text", "found").
template <typename... Types, typename... Names> std::tuple<Types...> Fetch(const Names&... names)
{
    return {*static_cast<Types*>(QTest::qData(names, qMetaTypeId<Types>()))...};
}
