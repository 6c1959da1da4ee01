#pragma once

#include <QString>
#include <QStringList>

namespace veltron {

// The data folder: "--data DIR" on the command line, else VELTRON_DATA, else
// the program folder. The argument pair is removed from args.
QString resolveDataDir(QStringList& args, const QString& programDir);

}  // namespace veltron
