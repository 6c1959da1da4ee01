#include "ui/report_file.h"

#include "ui/dialogs.h"
#include "ui/frmSave_otchet.h"

#include <QSaveFile>

#include <exception>
#include <optional>

namespace veltron::ui {

QString withDocxExtension(const QString& fileName)
{
    if (fileName.endsWith(QLatin1String(".docx"), Qt::CaseInsensitive))
        return fileName;
    return fileName + QStringLiteral(".docx");
}

QString saveReportFile(const QString& reportFolder, const QByteArray& document)
{
    const QString chosen = dialogs().saveFileName(QStringLiteral("Сохранение отчета"), reportFolder,
                                                  QStringLiteral("Документы (*.docx)"));
    if (!chosen.trimmed().isEmpty()) {
        const QString path = withDocxExtension(chosen);
        // QSaveFile writes beside the target and renames only a complete file.
        QSaveFile file(path);
        if (file.open(QIODevice::WriteOnly) && file.write(document) == document.size() && file.commit())
            return path;
    }
    dialogs().inform(QStringLiteral("Вельтрон"), QStringLiteral("Ошибка в процессе сохранения файла"), Icon::Critical);
    return {};
}

QString makeReport(QWidget* screen, const QString& reportFolder, const std::function<QByteArray()>& build)
{
    std::optional<ReportProgress> progress(std::in_place, screen);
    QByteArray document;
    try {
        document = build();
    } catch (const std::exception& e) {
        progress.reset();
        dialogs().inform(QStringLiteral("Внимание!"),
                         QStringLiteral("Отчет не создан: %1").arg(QString::fromUtf8(e.what())), Icon::Critical);
        return {};
    }
    const QString path = saveReportFile(reportFolder, document);
    progress.reset();
    return path;
}

}  // namespace veltron::ui
