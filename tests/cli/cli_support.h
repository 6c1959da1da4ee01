#pragma once

#include "common/test_store.h"

#include <QProcess>
#include <QString>
#include <QStringList>

namespace veltron::test {

struct CliResult {
    int status = -1;
    QString out;
    QString err;
};

// Runs the real veltron-cli program with exactly these arguments.
inline CliResult runCliWith(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(VELTRON_CLI), args);
    p.waitForFinished(120000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

// Runs the real veltron-cli program on the store of the tests for a data folder.
inline CliResult runCli(const QString& dataDir, const QStringList& args)
{
    return runCliWith(storeOptions(dataDir) + args);
}

}  // namespace veltron::test
