#include "ui/report_file.h"

#include "ui/dialogs.h"
#include "ui/frmSave_otchet.h"

#include <QSaveFile>

#include <algorithm>
#include <exception>
#include <optional>

namespace veltron::ui {

QString withDocxExtension(const QString& fileName)
{
    if (fileName.endsWith(QLatin1String(".docx"), Qt::CaseInsensitive))
        return fileName;
    return fileName + QStringLiteral(".docx");
}

namespace {

void showSaveFailure()
{
    dialogs().inform(QStringLiteral("Вельтрон"), QStringLiteral("Ошибка в процессе сохранения файла"), Icon::Critical);
}

// QSaveFile writes beside the target and renames only a complete file.
bool writeComplete(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

void showBuildFailure(const std::exception& e)
{
    dialogs().inform(QStringLiteral("Внимание!"), QStringLiteral("Отчет не создан: %1").arg(QString::fromUtf8(e.what())),
                     Icon::Critical);
}

}  // namespace

QString saveReportFile(const QString& reportFolder, const QByteArray& document)
{
    const QString chosen = dialogs().saveFileName(QStringLiteral("Сохранение отчета"), reportFolder,
                                                  QStringLiteral("Документы (*.docx)"));
    if (!chosen.trimmed().isEmpty()) {
        const QString path = withDocxExtension(chosen);
        if (writeComplete(path, document))
            return path;
    }
    showSaveFailure();
    return {};
}

QString saveFileAs(const QString& title, const QString& folder, const QString& filter, const QStringList& extensions,
                   const std::function<QByteArray(const QString& path)>& build)
{
    const QString chosen = dialogs().saveFileName(title, folder, filter);
    if (!chosen.trimmed().isEmpty()) {
        QString path = chosen;
        const bool known = std::any_of(extensions.begin(), extensions.end(), [&](const QString& ext) {
            return path.endsWith(QLatin1Char('.') + ext, Qt::CaseInsensitive);
        });
        if (!known)
            path += QLatin1Char('.') + extensions.value(0);
        QByteArray bytes;
        try {
            bytes = build(path);
        } catch (const std::exception& e) {
            showBuildFailure(e);
            return {};
        }
        if (writeComplete(path, bytes))
            return path;
    }
    showSaveFailure();
    return {};
}

namespace {

// Builds the document; a failure is shown with its own message once
// `beforeMessage` has run, and gives nothing.
std::optional<QByteArray> buildReport(const std::function<QByteArray()>& build,
                                      const std::function<void()>& beforeMessage)
{
    try {
        return build();
    } catch (const std::exception& e) {
        beforeMessage();
        showBuildFailure(e);
        return std::nullopt;
    }
}

}  // namespace

QString makeReport(QWidget* screen, const QString& reportFolder, const std::function<QByteArray()>& build)
{
    std::optional<ReportProgress> progress(std::in_place, screen);
    const auto document = buildReport(build, [&progress] { progress.reset(); });
    if (!document)
        return {};
    const QString path = saveReportFile(reportFolder, *document);
    progress.reset();
    return path;
}

QString makeReportInPlace(const QString& reportFolder, const std::function<QByteArray()>& build)
{
    const auto document = buildReport(build, [] {});
    return document ? saveReportFile(reportFolder, *document) : QString();
}

}  // namespace veltron::ui
