#include "report/block_register.h"

#include "calc/engine.h"
#include "calc/number_text.h"
#include "db/data_source.h"
#include "records/calculation_inputs.h"
#include "records/store_reference.h"
#include "report/docx/document.h"
#include "report/docx/templates.h"
#include "report/format.h"
#include "report/signature_block.h"

#include <QDateTime>

#include <algorithm>
#include <vector>

namespace veltron::report {

namespace {

RegisterNumbers numbersOf(const calc::RaschResult& r)
{
    RegisterNumbers n;
    n.E = r.E;
    n.m = r.m;
    n.Q = r.Q;
    n.category = r.Zn_kategor;
    n.Wt = r.Wt;
    n.R0 = r.R0;
    std::copy(r.Rzone.begin(), r.Rzone.end(), n.R.begin());
    return n;
}

int categoryRank(const QString& category)
{
    static const QStringList order = {QStringLiteral("I"), QStringLiteral("II"), QStringLiteral("III")};
    const qsizetype i = order.indexOf(category);
    return i < 0 ? int(order.size()) : int(i);
}

struct JournalRow {
    QString name;
    QDateTime when;
};

}  // namespace

BlockRegister makeRegister(db::Store& store, const QList<records::Calculation>& calculations,
                           const std::function<void(qsizetype, qsizetype)>& progress, const QDate& date)
{
    BlockRegister reg;
    reg.store = db::describeStore(store.source());
    reg.date = date;
    QList<RegisterRow> rows(calculations.size());
    std::vector<JournalRow> journal;
    journal.reserve(std::size_t(calculations.size()));
    const records::StoreReference reference(store);
    qsizetype done = 0;
    records::loadRunnableInputs(store, calculations, [&](qsizetype i, const records::RunnableInputs& loaded) {
        RegisterRow& row = rows[i];
        row.calculation = calculations[i].name;
        if (const auto* inputs = std::get_if<records::CalculationInputs>(&loaded); inputs && inputs->main) {
            row.block = inputs->main->Name_blok;
            row.substance = inputs->main->Name;
        }
        const calc::RunOutcome outcome = records::runLoaded(loaded, reference, [&] {
            journal.push_back({row.calculation, QDateTime::currentDateTime()});
        });
        if (const auto* stop = std::get_if<calc::Stop>(&outcome))
            row.stop = stop->message;
        else
            row.numbers = numbersOf(std::get<calc::RaschResult>(outcome));
        if (progress)
            progress(++done, calculations.size());
    });
    // One row per run that got that far, as every run leaves.
    if (!journal.empty())
        store.transaction([&] {
            for (const JournalRow& j : journal)
                records::appendRunJournal(store, j.name, j.when);
        });
    orderRegister(rows);
    reg.rows = rows;
    return reg;
}

void orderRegister(QList<RegisterRow>& rows)
{
    std::stable_sort(rows.begin(), rows.end(), [](const RegisterRow& a, const RegisterRow& b) {
        if (a.numbers.has_value() != b.numbers.has_value())
            return a.numbers.has_value();
        if (!a.numbers)
            return false;
        const int ra = categoryRank(a.numbers->category);
        const int rb = categoryRank(b.numbers->category);
        if (ra != rb)
            return ra < rb;
        return a.numbers->m > b.numbers->m;
    });
}

QString registerHeading(const BlockRegister& r)
{
    int counts[3] = {0, 0, 0};
    int stopped = 0;
    for (const RegisterRow& row : r.rows) {
        if (!row.numbers)
            ++stopped;
        else if (const int rank = categoryRank(row.numbers->category); rank < 3)
            ++counts[rank];
    }
    QString text = QStringLiteral("Источник расчетов: %1. Дата: %2. Блоков: %3, из них категории I — %4, категории II — %5, "
                                  "категории III — %6")
                       .arg(r.store, calc::russianLocale().toString(r.date, QStringLiteral("dd.MM.yyyy")))
                       .arg(r.rows.size())
                       .arg(counts[0])
                       .arg(counts[1])
                       .arg(counts[2]);
    if (stopped > 0)
        text += QStringLiteral("; расчет остановлен — %1").arg(stopped);
    return text + QLatin1Char('.');
}

QStringList registerHeader()
{
    return {QStringLiteral("№ п/п"), QStringLiteral("Расчет"),  QStringLiteral("Основной блок"),
            QStringLiteral("Вещество"), QStringLiteral("E, кДж"), QStringLiteral("m, кг"),
            QStringLiteral("Qв"),       QStringLiteral("Категория"), QStringLiteral("Wт, кг"),
            QStringLiteral("R0, м"),    QStringLiteral("R1, м"),  QStringLiteral("R2, м"),
            QStringLiteral("R3, м"),    QStringLiteral("R4, м"),  QStringLiteral("R5, м")};
}

QStringList registerCells(const RegisterRow& row, int number)
{
    QStringList cells{QString::number(number), row.calculation, row.block, row.substance};
    if (!row.numbers) {
        cells << row.stop;
        while (cells.size() < registerHeader().size())
            cells << QString();
        return cells;
    }
    const RegisterNumbers& n = *row.numbers;
    cells << FormatResult(n.E) << FormatResult(n.m) << FormatResult(n.Q) << n.category << FormatResult(n.Wt)
          << FormatResult(n.R0);
    for (double radius : n.R)
        cells << FormatResult(radius);
    return cells;
}

std::optional<RegisterFormat> registerFormatOf(const QString& fileName)
{
    const QString lower = fileName.toLower();
    if (lower.endsWith(QLatin1String(".docx")))
        return RegisterFormat::Docx;
    if (lower.endsWith(QLatin1String(".xlsx")))
        return RegisterFormat::Xlsx;
    if (lower.endsWith(QLatin1String(".csv")))
        return RegisterFormat::Csv;
    return std::nullopt;
}

QByteArray registerDocx(const BlockRegister& r, const records::Signature& signature)
{
    docx::Document doc = docx::Document::open(docx::templatePath(kRegisterTemplate));
    doc.setBookmarkText(QStringLiteral("mShapka"), registerHeading(r));
    const QStringList header = registerHeader();
    docx::Table table = doc.addTable(QStringLiteral("Begin1"), int(r.rows.size()) + 1, int(header.size()),
                                     docx::TableFormat{10});
    table.markHeadingRow();
    table.keepRowsWhole();
    for (int c = 0; c < header.size(); ++c)
        table.fillCell(1, c + 1, header[c]);
    for (int i = 0; i < r.rows.size(); ++i) {
        const QStringList cells = registerCells(r.rows[i], i + 1);
        for (int c = 0; c < cells.size(); ++c)
            if (!cells[c].isEmpty())
                table.fillCell(i + 2, c + 1, cells[c]);
    }
    writeSignature(doc, signature, r.date);
    return doc.toDocx();
}

namespace {

QByteArray csvField(const QString& text)
{
    QByteArray bytes = text.toUtf8();
    if (bytes.contains(';') || bytes.contains('"') || bytes.contains('\n') || bytes.contains('\r'))
        bytes = '"' + bytes.replace("\"", "\"\"") + '"';
    return bytes;
}

QByteArray csvLine(const QStringList& cells)
{
    QByteArray line;
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (i > 0)
            line += ';';
        line += csvField(cells[i]);
    }
    return line + "\r\n";
}

}  // namespace

QByteArray registerCsv(const BlockRegister& r)
{
    QByteArray out("\xEF\xBB\xBF");
    out += csvLine(registerHeader());
    for (int i = 0; i < r.rows.size(); ++i)
        out += csvLine(registerCells(r.rows[i], i + 1));
    return out;
}

QByteArray registerFile(const BlockRegister& r, RegisterFormat format, const records::Signature& signature)
{
    switch (format) {
    case RegisterFormat::Docx: return registerDocx(r, signature);
    case RegisterFormat::Xlsx: return registerXlsx(r, signature);
    case RegisterFormat::Csv: return registerCsv(r);
    }
    return {};
}

}  // namespace veltron::report
