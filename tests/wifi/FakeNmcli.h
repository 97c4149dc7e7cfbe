#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A stand-in for nmcli in a directory of its own, meant to be the only entry of PATH
// so that the real one cannot be reached. Each call records its arguments, its
// locale and its stdin, then answers with the exit code and message set for it.
// It touches nothing else.
class FakeNmcli final {
public:
    FakeNmcli();

    // The directory to put on PATH.
    QString binDir() const { return bin_; }
    // Call number n (from 1) exits with code and writes message to stderr.
    void reply(int call, int code, const QString& message = QString());
    // The arguments of each call so far, joined by "|".
    QStringList calls() const;
    // "<LC_ALL>|<stdin>" of each call so far.
    QStringList environments() const;

private:
    QTemporaryDir root_;
    QString bin_;
};
