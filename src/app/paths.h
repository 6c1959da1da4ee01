#pragma once

#include <QString>
#include <QStringList>

namespace veltron {

// The data folder: "--data DIR" on the command line, else VELTRON_DATA, else
// the program folder. The argument pair is removed from args.
QString resolveDataDir(QStringList& args, const QString& programDir);

// Folder of the report templates and fragments: VELTRON_TEMPLATES, else
// "templates" beside the program or one level above it.
QString templatesDir(const QString& programDir);

}  // namespace veltron
