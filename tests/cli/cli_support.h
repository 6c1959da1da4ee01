#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace veltron::test {

struct CliResult {
    int status = -1;
    QString out;
    QString err;
};

// Runs the real veltron-cli program on a data folder.
inline CliResult runCli(const QString& dataDir, const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(VELTRON_CLI), QStringList{QStringLiteral("--data"), dataDir} + args);
    p.waitForFinished(120000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

}  // namespace veltron::test
