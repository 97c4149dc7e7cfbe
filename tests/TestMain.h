#pragma once

#include <QObject>

#include <functional>
#include <memory>

// Several QtTest classes in one executable: each .cpp registers its class with
// HOPTRACE_TEST(Class) and the shared main runs them all.
int RegisterTestClass(const char* name, std::function<std::unique_ptr<QObject>()> make);

#define HOPTRACE_TEST(Class)                                                                     \
    [[maybe_unused]] static const int registered##Class =                                       \
        RegisterTestClass(#Class, [] { return std::unique_ptr<QObject>(new Class); });
