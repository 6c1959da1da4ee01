#pragma once

#include "common/test_store.h"

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <optional>

#include <unistd.h>

namespace veltron::test {

struct CliResult {
    int status = -1;
    QString out;
    QString err;
};

// Runs a program with exactly these arguments, in the environment of the
// tests changed by `env` (NAME=VALUE sets, NAME= removes).
inline CliResult runProgram(const QString& program, const QStringList& args, const QStringList& env = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& e : env) {
        const QString name = e.section(QLatin1Char('='), 0, 0);
        const QString value = e.section(QLatin1Char('='), 1);
        if (value.isEmpty())
            environment.remove(name);
        else
            environment.insert(name, value);
    }
    QProcess p;
    p.setProcessEnvironment(environment);
    p.start(program, args);
    p.waitForFinished(120000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// The bytes of a file; empty when it cannot be read.
inline QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Runs the real veltron-cli program with exactly these arguments.
inline CliResult runCliWith(const QStringList& args, const QStringList& env = {})
{
    return runProgram(QStringLiteral(VELTRON_CLI), args, env);
}

// Runs the real veltron-cli program on the store of the tests for a data folder.
inline CliResult runCli(const QString& dataDir, const QStringList& args)
{
    return runCliWith(storeOptions(dataDir) + args);
}

// Runs veltron-cli as a user without special rights, so that file
// permissions hold also when the tests run as root (as the unprivileged
// user "nobody" then: the files it needs must be open to others).
inline CliResult runCliUnprivileged(const QStringList& args)
{
    if (::geteuid() != 0)
        return runCliWith(args);
    return runProgram(QStringLiteral("setpriv"),
                      QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", QStringLiteral(VELTRON_CLI)} + args);
}

// Runs veltron-cli with a small empty disk (a tmpfs of `kilobytes`, in a
// mount namespace of its own) mounted on the folder `mountPoint`; `prepare`
// is a shell command run on it first. Nothing when the system does not let
// a test mount one.
inline std::optional<CliResult> runCliOnSmallDisk(const QString& mountPoint, int kilobytes, const QString& prepare,
                                                  const QStringList& args)
{
    const QString script = QStringLiteral("mount -t tmpfs -o size=%1k tmpfs \"$0\" || exit 99; %2 exec \"$@\"")
                               .arg(kilobytes)
                               .arg(prepare.isEmpty() ? QString() : prepare + QStringLiteral(" || exit 98;"));
    const CliResult r = runProgram(QStringLiteral("unshare"),
                                   QStringList{"-r", "-m", "sh", "-c", script, mountPoint, QStringLiteral(VELTRON_CLI)} +
                                       args);
    if (r.status == 99 || (r.status == 1 && r.err.contains(QLatin1String("unshare"))))
        return std::nullopt;
    return r;
}

}  // namespace veltron::test
