// The register of blocks: its rows against the runs, and the three files
// read back as a reader of each format reads them.
#include "common/sample_calculations.h"
#include "common/test_store.h"
#include "docx/docx_fixture.h"

#include "calc/engine.h"
#include "records/calculation_inputs.h"
#include "records/calculations.h"
#include "records/store_reference.h"
#include "report/block_register.h"
#include "report/docx/document.h"
#include "report/format.h"
#include "report/signature_block.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSqlRecord>

#include <zip.h>

#include <map>

using namespace veltron;

namespace {

const QDate kDate(2025, 3, 14);

int journalRows(const db::Store& store)
{
    return store.query("SELECT COUNT(*) FROM tabOtchet").first().value(0).toInt();
}

class BlockRegister : public ::testing::Test {
protected:
    void SetUp() override
    {
        store = test::openStore(folder);
        order = test::addMixedCalculations(*store);
    }

    report::BlockRegister make()
    {
        return report::makeRegister(*store, records::listCalculations(*store), {}, kDate);
    }

    QString write(const QByteArray& bytes, const QString& name)
    {
        const QString path = folder.file(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    test::TempFolder folder;
    std::unique_ptr<db::Store> store;
    QStringList order;
};

TEST_F(BlockRegister, RowsAreTheRunsByCategoryAndMassAndAStoppedRunKeepsItsRow)
{
    const int journalBefore = journalRows(*store);
    std::vector<qsizetype> progress;
    const report::BlockRegister reg = report::makeRegister(
        *store, records::listCalculations(*store), [&](qsizetype done, qsizetype) { progress.push_back(done); }, kDate);

    QStringList names;
    for (const report::RegisterRow& row : reg.rows)
        names << row.calculation;
    EXPECT_EQ(names, order);
    EXPECT_EQ(progress.size(), std::size_t(order.size()));
    EXPECT_EQ(progress.back(), order.size());

    // Each row holds what a single run of its calculation gives.
    const records::StoreReference reference(*store);
    int journalled = 0;
    for (const report::RegisterRow& row : reg.rows) {
        SCOPED_TRACE(row.calculation.toStdString());
        const auto loaded = records::loadRunnableInputs(*store, *records::findByName(*store, row.calculation));
        const calc::RunOutcome outcome = records::runLoaded(loaded, reference, [&] { ++journalled; });
        if (const auto* stop = std::get_if<calc::Stop>(&outcome)) {
            EXPECT_FALSE(row.numbers);
            EXPECT_EQ(row.stop, stop->message);
            EXPECT_FALSE(row.stop.isEmpty());
            continue;
        }
        const auto& r = std::get<calc::RaschResult>(outcome);
        ASSERT_TRUE(row.numbers);
        const auto& inputs = std::get<records::CalculationInputs>(loaded);
        EXPECT_EQ(row.block, inputs.main->Name_blok);
        EXPECT_EQ(row.substance, QStringLiteral("Пропан"));
        EXPECT_EQ(row.numbers->E, r.E);
        EXPECT_EQ(row.numbers->m, r.m);
        EXPECT_EQ(row.numbers->Q, r.Q);
        EXPECT_EQ(row.numbers->category, r.Zn_kategor);
        EXPECT_EQ(row.numbers->Wt, r.Wt);
        EXPECT_EQ(row.numbers->R0, r.R0);
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(row.numbers->R[std::size_t(i)], r.Rzone[std::size_t(i)]);
    }
    // One journal row per run that got that far, as "run --all" leaves.
    EXPECT_EQ(journalRows(*store) - journalBefore, journalled);
    EXPECT_EQ(journalled, order.size() - 1);

    const QString heading = report::registerHeading(reg);
    EXPECT_TRUE(heading.contains(QStringLiteral("Дата: 14.03.2025"))) << heading.toStdString();
    EXPECT_TRUE(heading.contains(QStringLiteral("Блоков: 6, из них категории I — 2, категории II — 1, категории III — 2; "
                                                "расчет остановлен — 1.")))
        << heading.toStdString();
    EXPECT_TRUE(heading.contains(folder.path())) << heading.toStdString();

    // The cells as the results screen writes the numbers; the stop message in their place.
    const QStringList first = report::registerCells(reg.rows.first(), 1);
    EXPECT_EQ(first.mid(0, 4), (QStringList{"1", test::kExample, reg.rows.first().block, "Пропан"}));
    EXPECT_EQ(first[4], report::FormatResult(reg.rows.first().numbers->E));
    EXPECT_EQ(first[7], QStringLiteral("I"));
    EXPECT_EQ(first[14], report::FormatResult(reg.rows.first().numbers->R[4]));
    const QStringList stopped = report::registerCells(reg.rows.last(), 6);
    EXPECT_EQ(stopped[4], reg.rows.last().stop);
    EXPECT_EQ(stopped.size(), report::registerHeader().size());
}

TEST_F(BlockRegister, WordTableReadsBackThroughTheBuilder)
{
    const report::BlockRegister reg = make();
    const records::Signature signature{QStringLiteral("Инженер"), QStringLiteral("Петров П. П."), {}};
    const QString path = write(report::registerDocx(reg, signature), QStringLiteral("перечень.docx"));
    const docx::Document doc = docx::Document::open(path);
    EXPECT_EQ(doc.bookmarkText(QStringLiteral("mShapka")), report::registerHeading(reg));
    const QByteArray xml = doc.documentXml();
    EXPECT_EQ(test::soundnessProblems(xml), QStringList());

    const auto parsed = test::parseXml(xml);
    const pugi::xml_node table = parsed->select_node("//w:tbl").node();
    ASSERT_TRUE(table);
    std::vector<QStringList> rows;
    for (pugi::xml_node tr = table.child("w:tr"); tr; tr = tr.next_sibling("w:tr")) {
        QStringList cells;
        for (pugi::xml_node tc = tr.child("w:tc"); tc; tc = tc.next_sibling("w:tc")) {
            QString text;
            for (const auto& t : tc.select_nodes(".//w:t"))
                text += QString::fromUtf8(t.node().text().get());
            cells << text;
        }
        rows.push_back(cells);
        // Rows stay whole on their page.
        EXPECT_TRUE(tr.child("w:trPr").child("w:cantSplit"));
    }
    ASSERT_EQ(rows.size(), std::size_t(reg.rows.size() + 1));
    EXPECT_EQ(rows[0], report::registerHeader());
    EXPECT_TRUE(table.child("w:tr").child("w:trPr").child("w:tblHeader")) << "the heading repeats on every page";
    for (int i = 0; i < reg.rows.size(); ++i)
        EXPECT_EQ(rows[std::size_t(i) + 1], report::registerCells(reg.rows[i], i + 1));
    EXPECT_EQ(QByteArray(parsed->select_node("//w:body/w:sectPr/w:pgSz").node().attribute("w:orient").value()),
              "landscape");
    // The table stays on the pages of the document: no section of its own.
    EXPECT_EQ(parsed->select_nodes("//w:sectPr").size(), 1u);
    const QStringList paragraphs = test::paragraphTexts(xml);
    EXPECT_TRUE(paragraphs.contains(QStringLiteral("Расчет выполнил: Инженер ____________ Петров П. П.")));
}

// One part of a zip package.
QByteArray zipPart(const QString& path, const char* name)
{
    int error = 0;
    zip_t* archive = zip_open(path.toLocal8Bit().constData(), ZIP_RDONLY, &error);
    if (!archive)
        return {};
    QByteArray bytes;
    zip_stat_t stat;
    if (zip_stat(archive, name, 0, &stat) == 0) {
        if (zip_file_t* file = zip_fopen(archive, name, 0)) {
            bytes.resize(qsizetype(stat.size));
            zip_fread(file, bytes.data(), stat.size);
            zip_fclose(file);
        }
    }
    zip_close(archive);
    return bytes;
}

// The value of a cell of an Excel sheet as its XML holds it.
struct SheetCell {
    QString type;  // "" for a number, "s" for a shared text
    QString value;
    int style = 0;
};

std::map<QString, SheetCell> sheetCells(const QByteArray& xml)
{
    const auto doc = test::parseXml(xml);
    std::map<QString, SheetCell> cells;
    for (const auto& found : doc->select_nodes("//c")) {
        const pugi::xml_node c = found.node();
        cells[QString::fromUtf8(c.attribute("r").value())] = {QString::fromUtf8(c.attribute("t").value()),
                                                                QString::fromUtf8(c.child("v").text().get()),
                                                                c.attribute("s").as_int()};
    }
    return cells;
}

// The number format of each cell style of the workbook.
QStringList styleFormats(const QByteArray& stylesXml)
{
    const auto doc = test::parseXml(stylesXml);
    std::map<int, QString> custom;
    for (const auto& f : doc->select_nodes("//numFmts/numFmt"))
        custom[f.node().attribute("numFmtId").as_int()] = QString::fromUtf8(f.node().attribute("formatCode").value());
    const std::map<int, QString> builtIn = {{0, "General"}, {1, "0"}, {11, "0.00E+00"}};
    QStringList formats;
    for (const auto& xf : doc->select_nodes("//cellXfs/xf")) {
        const int id = xf.node().attribute("numFmtId").as_int();
        formats << (custom.count(id) ? custom[id] : builtIn.count(id) ? builtIn.at(id) : QString::number(id));
    }
    return formats;
}

TEST_F(BlockRegister, ExcelCellsAreNumbersInTheFormatOfTheScreen)
{
    const report::BlockRegister reg = make();
    const QString path = write(report::registerXlsx(reg, {}), QStringLiteral("перечень.xlsx"));
    const QByteArray sheet = zipPart(path, "xl/worksheets/sheet1.xml");
    const auto cells = sheetCells(sheet);
    const QStringList formats = styleFormats(zipPart(path, "xl/styles.xml"));
    const auto sharedDoc = test::parseXml(zipPart(path, "xl/sharedStrings.xml"));
    QStringList shared;
    for (const auto& si : sharedDoc->select_nodes("//si"))
        shared << QString::fromUtf8(si.node().child("t").text().get());
    const auto text = [&](const QString& ref) {
        const SheetCell& c = cells.at(ref);
        return c.type == QLatin1String("s") ? shared.value(c.value.toInt()) : c.value;
    };

    EXPECT_EQ(text("A1"), QStringLiteral("Перечень технологических блоков"));
    EXPECT_EQ(text("A2"), report::registerHeading(reg));
    EXPECT_EQ(text("A3"), QStringLiteral("№ п/п"));
    const QString columns = QStringLiteral("EFGIJKLMNO");  // the number columns but the category H
    for (int i = 0; i < reg.rows.size(); ++i) {
        const QString row = QString::number(i + 4);
        SCOPED_TRACE(reg.rows[i].calculation.toStdString());
        EXPECT_EQ(text("B" + row), reg.rows[i].calculation);
        if (!reg.rows[i].numbers) {
            EXPECT_EQ(text("E" + row), reg.rows[i].stop);
            continue;
        }
        const report::RegisterNumbers& n = *reg.rows[i].numbers;
        const double values[] = {n.E, n.m, n.Q, n.Wt, n.R0, n.R[0], n.R[1], n.R[2], n.R[3], n.R[4]};
        for (int c = 0; c < columns.size(); ++c) {
            const SheetCell& cell = cells.at(columns[c] + row);
            EXPECT_EQ(cell.type, QString()) << "a number, not a text";
            EXPECT_NEAR(cell.value.toDouble(), values[c], std::abs(values[c]) * 2e-15);
            const QString expected = report::FormatResult(values[c]).contains('E') ? "0.00E+00" : "0.000";
            EXPECT_EQ(formats.value(cell.style), expected);
        }
        EXPECT_EQ(text("H" + row), n.category);
    }
    const auto doc = test::parseXml(sheet);
    const pugi::xml_node pane = doc->select_node("//sheetView/pane").node();
    EXPECT_EQ(QByteArray(pane.attribute("state").value()), "frozen");
    EXPECT_EQ(pane.attribute("ySplit").as_int(), 3);
    EXPECT_EQ(QByteArray(doc->select_node("//autoFilter").node().attribute("ref").value()),
              QByteArray("A3:O") + QByteArray::number(reg.rows.size() + 3));
}

// Splits one CSV line at ";" outside quotes.
QStringList csvFields(const QString& line)
{
    QStringList fields{QString()};
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar ch = line[i];
        if (ch == '"' && quoted && i + 1 < line.size() && line[i + 1] == '"') {
            fields.last() += '"';
            ++i;
        } else if (ch == '"') {
            quoted = !quoted;
        } else if (ch == ';' && !quoted) {
            fields << QString();
        } else {
            fields.last() += ch;
        }
    }
    return fields;
}

TEST_F(BlockRegister, CsvOpensAsNumbersWithDecimalCommas)
{
    const report::BlockRegister reg = make();
    const QByteArray bytes = report::registerCsv(reg);
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), reg.rows.size() + 1);
    EXPECT_EQ(csvFields(lines[0]), report::registerHeader());
    const QLocale russian(QLocale::Russian);
    for (int i = 0; i < reg.rows.size(); ++i) {
        const QStringList fields = csvFields(lines[i + 1]);
        ASSERT_EQ(fields.size(), report::registerHeader().size());
        EXPECT_EQ(fields[1], reg.rows[i].calculation);
        if (!reg.rows[i].numbers) {
            EXPECT_EQ(fields[4], reg.rows[i].stop);
            continue;
        }
        bool ok = false;
        const double m = russian.toDouble(fields[5], &ok);
        EXPECT_TRUE(ok) << fields[5].toStdString();
        EXPECT_NEAR(m, reg.rows[i].numbers->m, 0.0005);
        EXPECT_TRUE(fields[5].contains(',')) << fields[5].toStdString();
    }
}

}  // namespace
