#include "ui/report_file.h"

#include "ui/dialogs.h"
#include "ui/frmSave_otchet.h"


#include <algorithm>
#include <exception>
#include <optional>

namespace veltron::ui {

void showSaveFailure(const QString& reason)
{
    QString message = QStringLiteral("Ошибка в процессе сохранения файла");
    if (!reason.isEmpty())
        message += QLatin1Char('\n') + reason;
    dialogs().inform(QStringLiteral("Вельтрон"), message, Icon::Critical);
}

namespace {

void showBuildFailure(const std::exception& e)
{
    dialogs().inform(QStringLiteral("Внимание!"), QStringLiteral("Отчет не создан: %1").arg(QString::fromUtf8(e.what())),
                     Icon::Critical);
}

}  // namespace

QString saveReportFile(const QString& reportFolder, const QByteArray& document, const QString& dataDir)
{
    const QString chosen = dialogs().saveFileName(QStringLiteral("Сохранение отчета"), reportFolder,
                                                  QStringLiteral("Документы (*.docx)"));
    QString failure;
    if (!chosen.trimmed().isEmpty()) {
        const QString path = withDocxExtension(chosen);
        failure = db::writeReportFile(path, document, dataDir);
        if (failure.isEmpty())
            return path;
    }
    showSaveFailure(failure);
    return {};
}

QString saveFileAs(const QString& title, const QString& folder, const QString& dataDir, const QString& filter,
                   const QStringList& extensions, const std::function<QByteArray(const QString& path)>& build)
{
    const QString chosen = dialogs().saveFileName(title, folder, filter);
    QString failure;
    if (!chosen.trimmed().isEmpty()) {
        QString path = chosen;
        const bool known = std::any_of(extensions.begin(), extensions.end(), [&](const QString& ext) {
            return path.endsWith(QLatin1Char('.') + ext, Qt::CaseInsensitive);
        });
        if (!known)
            path += QLatin1Char('.') + extensions.value(0);
        // Refused before the build, so that nothing is computed for a name that cannot be written.
        failure = db::reportTargetProblem(path, dataDir);
        if (failure.isEmpty()) {
            QByteArray bytes;
            try {
                bytes = build(path);
            } catch (const std::exception& e) {
                showBuildFailure(e);
                return {};
            }
            failure = db::writeReportFile(path, bytes, dataDir);
            if (failure.isEmpty())
                return path;
        }
    }
    showSaveFailure(failure);
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

QString makeReport(QWidget* screen, const QString& reportFolder, const QString& dataDir,
                   const std::function<QByteArray()>& build)
{
    std::optional<ReportProgress> progress(std::in_place, screen);
    const auto document = buildReport(build, [&progress] { progress.reset(); });
    if (!document)
        return {};
    const QString path = saveReportFile(reportFolder, *document, dataDir);
    progress.reset();
    return path;
}

QString makeReportInPlace(const QString& reportFolder, const QString& dataDir,
                          const std::function<QByteArray()>& build)
{
    const auto document = buildReport(build, [] {});
    return document ? saveReportFile(reportFolder, *document, dataDir) : QString();
}

}  // namespace veltron::ui
