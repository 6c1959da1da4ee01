// veltron-cli export NAME… --out FILE.veltron and import FILE [--as NAME]:
// calculations sent between stores as one readable file.
#include "cli/cli.h"
#include "cli/json_writer.h"

#include "records/exchange.h"

#include <QFile>

namespace veltron::cli {

namespace {

const char* const kExportUsage = "Использование: veltron-cli export ИМЯ_РАСЧЕТА… --out ФАЙЛ.veltron\n";
const char* const kImportUsage = "Использование: veltron-cli import ФАЙЛ.veltron [--as ИМЯ_РАСЧЕТА]\n";

void writeNames(JsonWriter& w, const char* key, const QStringList& names)
{
    w.key(key);
    w.beginArray();
    for (const QString& name : names)
        w.value(name);
    w.endArray();
}

int exportCommand(Context& ctx, const QStringList& args)
{
    QStringList names;
    QString out;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--out") && i + 1 < args.size()) {
            out = args[++i];
        } else if (args[i].startsWith(QLatin1String("--"))) {
            ctx.err << "Неизвестный аргумент " << quoted(args[i]) << ".\n" << kExportUsage;
            return 1;
        } else if (!names.contains(args[i])) {
            names << args[i];
        }
    }
    if (names.isEmpty() || out.isEmpty()) {
        ctx.err << kExportUsage;
        return 1;
    }
    try {
        QList<records::Calculation> calculations;
        for (const QString& name : names) {
            const auto found = records::findByName(ctx.store, name);
            if (!found) {
                ctx.err << "Расчет «" << db::shownText(name).toStdString() << "» не найден в базе данных.\n";
                return 1;
            }
            calculations << *found;
        }
        const records::ExchangeFile file = records::readForExport(ctx.store, calculations);
        if (!writeOutputFile(ctx, out, records::exchangeJson(file)))
            return 1;
        JsonWriter w;
        w.beginObject();
        w.member("file", out);
        writeNames(w, "calculations", names);
        w.endObject();
        ctx.out << w.text() << "\n";
        return 0;
    } catch (const db::StoreError& e) {
        printStoreError(ctx, e);
        return 1;
    }
}

int importCommand(Context& ctx, const QStringList& args)
{
    QString path;
    QString as;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--as") && i + 1 < args.size() && !args[i + 1].trimmed().isEmpty()) {
            as = args[++i].trimmed();
        } else if (path.isEmpty() && !args[i].startsWith(QLatin1String("--"))) {
            path = args[i];
        } else {
            ctx.err << kImportUsage;
            return 1;
        }
    }
    if (path.isEmpty()) {
        ctx.err << kImportUsage;
        return 1;
    }
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) {
        ctx.err << "Файл " << quoted(path) << " не прочитан: "
                << (QFile::exists(path) ? "нет прав на чтение или это не обычный файл." : "такого файла нет.") << "\n";
        return 1;
    }
    try {
        const records::ExchangeFile file = records::parseExchangeFile(in.readAll());
        QStringList names;
        for (const records::ExchangeCalculation& c : file.calculations)
            names << c.name;
        if (!as.isEmpty()) {
            if (names.size() != 1) {
                ctx.err << "В файле " << names.size() << " расчетов: --as задает имя, только когда расчет один.\n";
                return 1;
            }
            names = {as};
        }
        const QStringList taken = records::takenNames(ctx.store, names);
        if (!taken.isEmpty()) {
            ctx.err << "В базе уже есть расчет «" << db::shownText(taken.join(QStringLiteral("», «"))).toStdString()
                    << "». Ничего не импортировано; задайте другое имя: --as ИМЯ_РАСЧЕТА.\n";
            return 1;
        }
        const records::ImportResult result = records::importCalculations(ctx.store, file, names);
        const QString notice = records::renamedNotice(result);
        if (!notice.isEmpty())
            ctx.err << notice.toStdString() << "\n";
        JsonWriter w;
        w.beginObject();
        writeNames(w, "imported", names);
        w.key("renamed");
        w.beginArray();
        for (const records::RenamedRecord& r : result.renamed) {
            w.beginObject();
            w.member("kind", r.what);
            w.member("name", r.name);
            w.member("importedAs", r.importedAs);
            writeNames(w, "differences", r.differences);
            w.endObject();
        }
        w.endArray();
        w.endObject();
        ctx.out << w.text() << "\n";
        return 0;
    } catch (const records::ExchangeError& e) {
        ctx.err << e.message().toStdString() << "\n";
    } catch (const db::StoreError& e) {
        printStoreError(ctx, e);
    }
    return 1;
}

}  // namespace

void registerExchangeCommands()
{
    registerCommand(QStringLiteral("export"),
                    QStringLiteral("export ИМЯ_РАСЧЕТА… --out ФАЙЛ.veltron — расчеты модели I с их веществами и "
                                   "поверхностями в один файл"),
                    exportCommand);
    registerCommand(QStringLiteral("import"),
                    QStringLiteral("import ФАЙЛ.veltron [--as ИМЯ_РАСЧЕТА] — расчеты из файла в базу данных"),
                    importCommand);
}

}  // namespace veltron::cli
