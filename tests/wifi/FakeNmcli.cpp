#include "FakeNmcli.h"

#include <QDir>
#include <QFile>

namespace {

const char kScript[] = R"sh(#!/bin/sh
PATH=/usr/bin:/bin
dir=$(dirname "$0")
n=$(( $(cat "$dir/count" 2>/dev/null || echo 0) + 1 ))
echo "$n" > "$dir/count"
: > "$dir/call$n.args"
for a in "$@"; do printf '%s\n' "$a" >> "$dir/call$n.args"; done
printf '%s\n' "${LC_ALL-unset}" "$(readlink /proc/self/fd/0)" > "$dir/call$n.env"
code=0
[ -f "$dir/reply$n.code" ] && code=$(cat "$dir/reply$n.code")
[ -f "$dir/reply$n.msg" ] && cat "$dir/reply$n.msg" >&2
exit $code
)sh";

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

} // namespace

FakeNmcli::FakeNmcli()
    : root_(QDir::tempPath() + QStringLiteral("/hoptrace nmcli XXXXXX")), bin_(root_.path() + QStringLiteral("/bin"))
{
    QDir().mkpath(bin_);
    const QString program = bin_ + QStringLiteral("/nmcli");
    WriteFile(program, kScript);
    QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

void FakeNmcli::reply(int call, int code, const QString& message)
{
    WriteFile(bin_ + QStringLiteral("/reply%1.code").arg(call), QByteArray::number(code));
    if (!message.isEmpty())
        WriteFile(bin_ + QStringLiteral("/reply%1.msg").arg(call), message.toUtf8() + "\n");
}

QStringList FakeNmcli::calls() const
{
    QStringList calls;
    const int count = ReadFile(bin_ + QStringLiteral("/count")).trimmed().toInt();
    for (int n = 1; n <= count; ++n)
        calls << QString::fromUtf8(ReadFile(bin_ + QStringLiteral("/call%1.args").arg(n)))
                     .split(u'\n', Qt::SkipEmptyParts)
                     .join(u'|');
    return calls;
}

QStringList FakeNmcli::environments() const
{
    QStringList environments;
    const int count = ReadFile(bin_ + QStringLiteral("/count")).trimmed().toInt();
    for (int n = 1; n <= count; ++n)
        environments << QString::fromUtf8(ReadFile(bin_ + QStringLiteral("/call%1.env").arg(n)))
                            .trimmed()
                            .replace(u'\n', u'|');
    return environments;
}
