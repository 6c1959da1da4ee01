// The appendix template as the build packs it, filled through the builder,
// and read back by a real office suite.

#include "docx/docx_fixture.h"

#include "common/test_support.h"
#include "report/docx/document.h"
#include "report/docx/package.h"
#include "report/docx/templates.h"
#include "report/signature_block.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <algorithm>

using namespace veltron::docx;
using namespace veltron::test;

namespace {

// Display texts of a run with zones: m = 6514,22 kg (above 5000, so 22.2),
// z = 0,1, and the overpressure calculator at 50 kPa.
std::map<QString, QString> sampleTexts()
{
    return {
        {"m2", "6514,22"},      {"Name1", "Емкость Е-1"}, {"Name2", "Емкость Е-1"},
        {"Metka4", "(22.2)"},   {"wt", "2946,384"},       {"R0", "14,340"},
        {"R1", "54,492"},       {"R2", "80,304"},         {"R3", "137,664"},
        {"R4", "401,520"},      {"R5", "803,040"},        {"mz", "0,10"},
        {"mmst", "651,42"},     {"mWt", "2946,384"},      {"mKateg", "I"},
        {"mR0", "14,34"},       {"mR1", "54,492"},        {"mR2", "80,304"},
        {"mR3", "137,664"},     {"mR4", "401,520"},       {"mR5", "803,040"},
        {"mR6_inf", "расчет для 50 кПа"}, {"mR6_K", "7,3"}, {"mR6_P", "50"},
        {"mR6_R", "105,12"},    {"MetkaW", ""},
    };
}

QString appendixPath()
{
    return QDir(templatesDir()).filePath(kAppendixTemplate);
}

TEST(AppendixTemplate, HoldsEveryBookmarkOfTheReportOnceAndIsSound)
{
    Document document = Document::open(appendixPath());
    QStringList names = document.bookmarkNames();
    QStringList expected =
        appendixBookmarks() + QStringList{QStringLiteral("mZoneMap"), veltron::report::kSignatureBookmark};
    std::sort(names.begin(), names.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);
    EXPECT_EQ(soundnessProblems(document.documentXml()), QStringList());
    const QString text = paragraphTexts(document.documentXml()).join(QLatin1Char('\n'));
    for (const char* formula : {"(22.1)", "(22.2)", "Классификация зон разрушения", "4520 кДж/кг"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(formula))) << formula;
}

TEST(AppendixTemplate, FilledAppendixShowsEveryTextAtItsBookmark)
{
    TempFolder folder;
    const auto texts = sampleTexts();
    const QString path = folder.file(QStringLiteral("приложение.docx"));
    buildAppendix(appendixPath(), texts).save(path);

    const QByteArray xml = documentPart(path);
    EXPECT_EQ(soundnessProblems(xml), QStringList());
    Document reread = Document::open(path);
    for (const auto& [name, text] : texts)
        EXPECT_EQ(reread.bookmarkText(name), text) << name.toStdString();
    const QStringList paragraphs = paragraphTexts(xml);
    EXPECT_TRUE(paragraphs.contains(QStringLiteral("Технологический блок: Емкость Е-1")));
    EXPECT_TRUE(paragraphs.contains(QStringLiteral("R1 = 3,8·R0 = 54,492 м;")));

    // Made twice from the same texts: the same document, byte for byte.
    EXPECT_EQ(buildAppendix(appendixPath(), texts).toDocx(), buildAppendix(appendixPath(), texts).toDocx());
}

TEST(AppendixTemplate, IncompleteOrUnknownTextsAreRefused)
{
    auto texts = sampleTexts();
    texts.erase(QStringLiteral("mR6_R"));
    try {
        buildAppendix(appendixPath(), texts);
        ADD_FAILURE() << "no error";
    } catch (const DocxError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Для закладки «mR6_R» приложения не задан текст."));
    }
    texts = sampleTexts();
    texts[QStringLiteral("mE11")] = QStringLiteral("1");
    EXPECT_THROW(buildAppendix(appendixPath(), texts), DocxError);
    EXPECT_THROW(buildAppendix(QStringLiteral("/нет/otchet_veltron_pril3.docx"), sampleTexts()), DocxError);
}

TEST_F(OfficeSuite, ReadsTheFilledAppendix)
{
    const QString path = folder.file(QStringLiteral("otchet_pril3.docx"));
    buildAppendix(appendixPath(), sampleTexts()).save(path);
    const QString pdf = convertToPdf(path, folder.path());
    keep(path);
    keep(pdf);
    const QString text = pdfText(pdf);
    EXPECT_EQ(notWhole(text, {"Емкость Е-1", "6514,22", "(22.2)", "2946,384", "803,040", "расчет для 50 кПа",
                              "105,12", "Классификация зон разрушения", "651,42"}),
              QStringList())
        << text.toStdString();
}

TEST_F(OfficeSuite, ReadsTablesAndFragmentsTheBuilderAdds)
{
    // The shared styles of the templates, so that the page looks as a report's.
    const QByteArray styles =
        veltron::docx::Package::read(appendixPath(), QStringLiteral("шаблон")).part("word/styles.xml");
    const QString templ = writeDocx(folder.file(QStringLiteral("t.docx")),
                                    R"(<w:p><w:bookmarkStart w:id="0" w:name="Begin1"/><w:bookmarkEnd w:id="0"/></w:p>)"
                                    R"(<w:p><w:bookmarkStart w:id="1" w:name="Metka7"/><w:bookmarkEnd w:id="1"/></w:p>)"
                                    R"(<w:p><w:bookmarkStart w:id="2" w:name="Begin2"/><w:bookmarkEnd w:id="2"/></w:p>)"
                                    R"(<w:p><w:r><w:t>Конец отчета</w:t></w:r></w:p>)",
                                    styles);
    const QString fragmentPath = writeDocx(
        folder.file(QStringLiteral("f.docx")),
        R"(<w:tbl><w:tblPr><w:tblW w:w="0" w:type="auto"/><w:tblBorders><w:top w:val="single" w:sz="4" w:space="0" w:color="auto"/>)"
        R"(<w:bottom w:val="single" w:sz="4" w:space="0" w:color="auto"/></w:tblBorders></w:tblPr><w:tblGrid><w:gridCol w:w="3000"/></w:tblGrid>)"
        R"(<w:tr><w:tc><w:tcPr><w:tcW w:w="3000" w:type="dxa"/></w:tcPr><w:p/></w:tc></w:tr></w:tbl><w:p/>)",
        styles);

    // A block table shaped like the results grid: eleven columns, the
    // headers of columns 3 to 11 rotated.
    const QStringList header = {"Наименование блока", "Наименование вещества", "Объем ЖФ, м3", "Объем ПГФ, м3",
                                "Давление, МПа", "Температура, °С", "Плотность ЖФ, кг/м3", "Плотность ПГФ, кг/м3",
                                "Показатель адиабаты", "Масса ПГФ, кг", "Масса ЖФ, кг"};
    const QStringList values = {"Колонна К-2", "Бензин автомобильный", "12,5", "3,2", "0,35", "120", "720",
                                "3,5", "1,1", "0", "0"};
    Document document = Document::open(templ);
    document.appendParagraph(QStringLiteral("Begin1"), QStringLiteral("Информация о рассчитываемом блоке"),
                             {12, true, Alignment::Center});
    Table table = document.addTable(QStringLiteral("Begin1"), 2, 11);
    for (int c = 1; c <= 11; ++c) {
        table.fillCell(1, c, header[c - 1]);
        table.fillCell(2, c, values[c - 1]);
        if (c >= 3)
            table.rotateCell(1, c);
    }
    table.setBorder(BorderSide::Left, BorderLine{LineStyle::Single, 1.5, QStringLiteral("auto")});
    for (int block = 2; block <= 3; ++block) {
        Fragment fragment = Fragment::open(fragmentPath);
        fragment.fillCell(1, 1, QStringLiteral("E2' = %1").arg(block * 11));
        fragment.insertHeading(QStringLiteral("Смежный блок № %1").arg(block));
        document.insertFragment(QStringLiteral("Metka7"), fragment);
    }
    // The adjacent-block table: nineteen columns, every header rotated; too
    // wide for an upright page, it gets landscape pages of its own.
    const QStringList adjacentHeader = {"Номер блока", "Наименование блока", "Наименование вещества",
                                        "Объем ЖФ, куб.м", "Объем ПГФ, куб.м", "Давление, МПа", "Температура, °C",
                                        "Плотность ЖФ, кг/куб.м", "Плотность ПГФ, кг/куб.м", "Показатель адиабаты",
                                        "I", "II", "III", "IV", "V", "VI", "VII", "Формула", "Значение 1"};
    const QStringList adjacentValues = {"2", "Трубопровод подачи сырья", "Бензин автомобильный АИ-93", "12,5",
                                        "3,2", "0,35", "120", "720", "3,5", "1,1", "0,0314", "1250", "0,012",
                                        "0,62", "3600", "120", "300", "0", "0"};
    document.appendParagraph(QStringLiteral("Begin2"), QStringLiteral("Информация о смежных блоках"),
                             {12, true, Alignment::Center});
    Table adjacent = document.addTable(QStringLiteral("Begin2"), 2, 19);
    for (int c = 1; c <= 19; ++c) {
        adjacent.fillCell(1, c, adjacentHeader[c - 1]);
        adjacent.rotateCell(1, c);
        adjacent.fillCell(2, c, adjacentValues[c - 1]);
    }
    const QString path = folder.file(QStringLiteral("builder.docx"));
    document.save(path);
    const QString pdf = convertToPdf(path, folder.path());
    keep(path);
    keep(pdf);
    // Every header and value of the block table stands whole, and so do the
    // fragments' texts.
    const QString text = pdfText(pdf).simplified();
    EXPECT_EQ(notWhole(text, header + values + adjacentHeader + adjacentValues
                                 + QStringList{"Информация о рассчитываемом блоке", "E2' = 22", "E2' = 33",
                                               "Информация о смежных блоках", "Конец отчета"}),
              QStringList())
        << text.toStdString();
    EXPECT_LT(text.indexOf(QStringLiteral("Смежный блок № 2")), text.indexOf(QStringLiteral("Смежный блок № 3")));
}

}  // namespace
