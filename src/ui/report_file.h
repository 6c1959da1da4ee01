#pragma once

#include "db/report_target.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace veltron::ui {

// The save step of every report: asks for a file name in the save dialog
// (opening on the report folder, filter "Документы (*.docx)"), adds the
// extension when the user left it out and writes the finished document
// through the check of every report file (db/report_target.h: never over a
// device, a pipe or a file of the store of dataDir). A cancelled dialog
// shows "Ошибка в процессе сохранения файла"; a refused name or a failed
// write shows it with the reason on the next line. Neither leaves a new or
// partial file; an existing file under that name is replaced only by a
// complete report. Returns the path written, or an empty text.
QString saveReportFile(const QString& reportFolder, const QByteArray& document, const QString& dataDir);

// The same save step for a file offered in several formats: the dialog
// (titled `title`) shows `filter`, the name keeps one of `extensions`
// (without the point) or gets the first one, and `build` makes the bytes
// for the path chosen. The name goes through the same check as a report's
// before anything is built. A failure of the build is shown with its own message.
QString saveFileAs(const QString& title, const QString& folder, const QString& dataDir, const QString& filter,
                   const QStringList& extensions, const std::function<QByteArray(const QString& path)>& build);

// "Ошибка в процессе сохранения файла", with the reason on the next line
// when there is one: how every save of a file says that it failed.
void showSaveFailure(const QString& reason);

// One whole report pass from a screen: the screen hides and the progress
// window shows while `build` assembles the document; a failure of the build
// (a missing template, fragment or bookmark) is shown with its own message;
// then the save step. The screen comes back in every case.
QString makeReport(QWidget* screen, const QString& reportFolder, const QString& dataDir,
                   const std::function<QByteArray()>& build);

// The same pass for a screen that stays shown while the report is made,
// without the progress window.
QString makeReportInPlace(const QString& reportFolder, const QString& dataDir,
                          const std::function<QByteArray()>& build);

using db::withDocxExtension;

}  // namespace veltron::ui
