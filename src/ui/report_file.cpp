#include "ui/report_file.h"

#include "ui/dialogs.h"
#include "ui/frmSave_otchet.h"


#include <exception>
#include <optional>

namespace veltron::ui {

QString saveReportFile(const QString& reportFolder, const QByteArray& document, const QString& dataDir)
{
    const QString chosen = dialogs().saveFileName(QStringLiteral("Сохранение отчета"), reportFolder,
                                                  QStringLiteral("Документы (*.docx)"));
    QString message = QStringLiteral("Ошибка в процессе сохранения файла");
    if (!chosen.trimmed().isEmpty()) {
        const QString path = withDocxExtension(chosen);
        const QString failure = db::writeReportFile(path, document, dataDir);
        if (failure.isEmpty())
            return path;
        message += QLatin1Char('\n') + failure;
    }
    dialogs().inform(QStringLiteral("Вельтрон"), message, Icon::Critical);
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
        dialogs().inform(QStringLiteral("Внимание!"),
                         QStringLiteral("Отчет не создан: %1").arg(QString::fromUtf8(e.what())), Icon::Critical);
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
