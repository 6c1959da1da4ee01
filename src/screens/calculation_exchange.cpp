#include "screens/calculation_exchange.h"

#include "screens/store_errors.h"
#include "ui/dialogs.h"
#include "ui/report_file.h"

#include <QFile>

namespace veltron::screens {

namespace {

const QString kImportTitle = QStringLiteral("Импорт расчета");
const QString kFilter = QStringLiteral("Расчеты Вельтрон (*.veltron)");

// The names the file's calculations get: each one the store (or another
// calculation of the file) already has is asked for anew. Nothing when the
// user cancels.
std::optional<QStringList> chooseNames(const db::Store& store, const records::ExchangeFile& file)
{
    QStringList names;
    for (const records::ExchangeCalculation& c : file.calculations) {
        QString name = c.name;
        while (names.contains(name) || !records::takenNames(store, {name}).isEmpty()) {
            const auto answer = ui::dialogs().askText(
                kImportTitle,
                QStringLiteral("В базе есть расчет с именем «%1». Введите другое имя для импортируемого расчета:")
                    .arg(name),
                name + QStringLiteral(" (импорт)"));
            if (!answer)
                return std::nullopt;
            if (!answer->trimmed().isEmpty())
                name = answer->trimmed();
        }
        names << name;
    }
    return names;
}

}  // namespace

QString exportCalculation(AppState& state, const records::Calculation& calculation)
{
    QByteArray text;
    if (!onStore([&] { text = records::exchangeJson(records::readForExport(state.db(), {calculation})); },
                 QStringLiteral("Расчет не экспортирован.")))
        return {};
    return ui::saveFileAs(QStringLiteral("Экспорт расчета"), state.reportFolder, state.dataDir, kFilter,
                          {records::kExchangeExtension}, [&](const QString&) { return text; });
}

std::optional<records::ImportResult> importCalculations(AppState& state)
{
    const QString path = ui::dialogs().openFileName(kImportTitle, state.reportFolder,
                                                    kFilter + QStringLiteral(";;Все файлы (*)"));
    if (path.isEmpty())
        return std::nullopt;
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) {
        ui::dialogs().inform(QStringLiteral("Внимание!"),
                             QStringLiteral("Файл «%1» не прочитан: %2").arg(path, in.errorString()),
                             ui::Icon::Critical);
        return std::nullopt;
    }
    records::ExchangeFile file;
    try {
        file = records::parseExchangeFile(in.readAll());
    } catch (const records::ExchangeError& e) {
        ui::dialogs().inform(QStringLiteral("Внимание!"), e.message(), ui::Icon::Critical);
        return std::nullopt;
    }
    std::optional<records::ImportResult> result;
    onStore([&] {
        const auto names = chooseNames(state.db(), file);
        if (names)
            result = records::importCalculations(state.db(), file, *names);
    }, QStringLiteral("Ничего не импортировано."));
    if (!result)
        return std::nullopt;
    QStringList names;
    for (const records::Calculation& c : result->calculations)
        names << QStringLiteral("«%1»").arg(c.name);
    QString text = QStringLiteral("Импортировано расчетов: %1 (%2).").arg(names.size()).arg(names.join(", "));
    const QString notice = records::renamedNotice(*result);
    if (!notice.isEmpty())
        text += QStringLiteral("\n\n") + notice;
    ui::dialogs().inform(kImportTitle, text, notice.isEmpty() ? ui::Icon::Information : ui::Icon::Warning);
    return result;
}

}  // namespace veltron::screens
