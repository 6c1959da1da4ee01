#pragma once

#include <QByteArray>
#include <QString>

namespace veltron::db {

// Where a report (a .docx document, a register as .xlsx or .csv, a picture
// of the zone map, a calculation sent as a .veltron file) may be
// written: a new file, or over an existing regular file that is not part of
// a store. Refused, whatever the name: a folder, a device, a named pipe or a
// socket; the files of a store (the two databases, their journals, "Data
// Source.txt") and any other SQLite database; in the data folder dataDir,
// any file that is not one of those. A symbolic link counts
// as the file it points to. Returns why the path is refused, in Russian;
// empty when it may be written.
QString reportTargetProblem(const QString& path, const QString& dataDir);

// Writes the whole file at path, when reportTargetProblem allows it. The file
// appears only complete: a failed write leaves no new or partial file and an
// existing one as it was. Returns why it failed (refused, no such folder, no
// permission, disk full, name too long), in Russian; empty when written.
QString writeReportFile(const QString& path, const QByteArray& bytes, const QString& dataDir);

// The file name with ".docx" added when it has no such extension, as every
// report is saved.
QString withDocxExtension(const QString& fileName);

}  // namespace veltron::db
