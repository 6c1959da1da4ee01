// veltron-cli format result X | format detail X: the number texts of screens and reports.
#include "cli/cli.h"
#include "cli/json_writer.h"

#include "calc/number_text.h"
#include "report/format.h"

namespace veltron::cli {

namespace {

int formatCommand(Context& ctx, const QStringList& args)
{
    const bool result = !args.isEmpty() && args.first() == QLatin1String("result");
    const bool detail = !args.isEmpty() && args.first() == QLatin1String("detail");
    if (args.size() != 2 || !(result || detail)) {
        ctx.err << "Использование: veltron-cli format result|detail ЧИСЛО\n";
        return 1;
    }
    const auto x = calc::parseNumber(args[1]);
    if (!x) {
        printBadNumber(ctx.err, QStringLiteral("Число"), args[1]);
        return 1;
    }
    ctx.out << jsonString(result ? report::FormatResult(*x) : report::FormatDetail(*x)) << "\n";
    return 0;
}

}  // namespace

void registerFormatCommand()
{
    registerCommand(QStringLiteral("format"),
                    QStringLiteral("format result|detail ЧИСЛО — число так, как его пишут экраны и отчеты"),
                    formatCommand);
}

}  // namespace veltron::cli
