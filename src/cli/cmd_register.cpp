// veltron-cli register [NAME…] --out FILE.docx|FILE.xlsx|FILE.csv: the
// register of the blocks of the named calculations (of every calculation
// when none is named), written through the same code as the desktop's.
#include "cli/cli.h"
#include "db/report_target.h"
#include "cli/json_writer.h"
#include "cli/signature_options.h"

#include "records/calculations.h"
#include "report/block_register.h"
#include "report/docx/docx_error.h"

#include <QFileInfo>

namespace veltron::cli {

namespace {

const char* const kUsage = "Использование: veltron-cli register [ИМЯ_РАСЧЕТА…] --out ФАЙЛ.docx|ФАЙЛ.xlsx|ФАЙЛ.csv "
                           "[--signer \"ДОЛЖНОСТЬ|ФИО\"] [--source \"ИСТОЧНИК\"]\n";

struct RegisterArgs {
    QStringList names;
    QString out;
    report::RegisterFormat format = report::RegisterFormat::Docx;
    records::Signature signature;
};

std::optional<RegisterArgs> parseArgs(QStringList args, std::ostream& err)
{
    RegisterArgs a;
    const auto signature = takeSignature(args, err);
    if (!signature)
        return std::nullopt;
    a.signature = *signature;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--out") && i + 1 < args.size()) {
            a.out = args[++i];
        } else if (args[i].startsWith(QLatin1String("--"))) {
            err << "Неизвестный аргумент " << quoted(args[i]) << ".\n" << kUsage;
            return std::nullopt;
        } else if (!a.names.contains(args[i])) {
            a.names << args[i];
        }
    }
    if (a.out.isEmpty()) {
        err << kUsage;
        return std::nullopt;
    }
    const auto format = report::registerFormatOf(a.out);
    if (!format) {
        err << "Формат перечня задается расширением файла «" << db::shownText(a.out).toStdString()
            << "»: .docx, .xlsx или .csv.\n";
        return std::nullopt;
    }
    a.format = *format;
    // The runs leave journal rows: a target that cannot be written is refused before them.
    const QFileInfo folder(QFileInfo(a.out).absolutePath());
    if (!folder.isDir() || !folder.isWritable()) {
        err << "Папка «" << db::shownText(folder.filePath()).toStdString() << "» для файла перечня не существует или закрыта для "
            << "записи.\n";
        return std::nullopt;
    }
    return a;
}

int blockRegisterCommand(Context& ctx, const QStringList& args)
{
    const auto a = parseArgs(args, ctx.err);
    if (!a)
        return 1;
    if (const QString problem = db::reportTargetProblem(a->out, ctx.dataDir); !problem.isEmpty()) {
        ctx.err << "Ошибка в процессе сохранения файла: " << problem.toStdString() << "\n";
        return 1;
    }
    try {
        QList<records::Calculation> calculations;
        if (a->names.isEmpty())
            calculations = records::listCalculations(ctx.store);
        for (const QString& name : a->names) {
            const auto found = records::findByName(ctx.store, name);
            if (!found) {
                ctx.err << "Расчет «" << db::shownText(name).toStdString() << "» не найден в базе данных.\n";
                return 1;
            }
            calculations << *found;
        }
        const report::BlockRegister reg = report::makeRegister(ctx.store, calculations);
        if (!writeOutputFile(ctx, a->out, report::registerFile(reg, a->format, a->signature)))
            return 1;
        int stopped = 0;
        for (const report::RegisterRow& row : reg.rows)
            stopped += row.numbers ? 0 : 1;
        JsonWriter w;
        w.beginObject();
        w.member("file", a->out);
        w.member("calculations", int(reg.rows.size()));
        w.member("stopped", stopped);
        w.endObject();
        ctx.out << w.text() << "\n";
        // Stopped runs have their rows, with the reason: the register is whole.
        return 0;
    } catch (const docx::DocxError& e) {
        ctx.err << e.message().toStdString() << "\n";
    } catch (const db::StoreError& e) {
        printStoreError(ctx, e);
    }
    return 1;
}

}  // namespace

void registerRegisterCommand()
{
    registerCommand(QStringLiteral("register"),
                    QStringLiteral("register [ИМЯ_РАСЧЕТА…] --out ФАЙЛ.docx|ФАЙЛ.xlsx|ФАЙЛ.csv [--signer "
                                   "\"ДОЛЖНОСТЬ|ФИО\"] [--source \"ИСТОЧНИК\"] — перечень технологических блоков "
                                   "(всех расчетов, когда имена не заданы)"),
                    blockRegisterCommand);
}

}  // namespace veltron::cli
