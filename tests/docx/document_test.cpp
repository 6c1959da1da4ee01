// The document operations on small templates made by the test.

#include "docx/docx_fixture.h"
#include "report/docx/font_metrics.h"

#include "common/test_support.h"
#include "report/docx/document.h"
#include "report/docx/package.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <functional>

using veltron::docx::Alignment;
using veltron::docx::BorderLine;
using veltron::docx::BorderSide;
using veltron::docx::Document;
using veltron::docx::DocxError;
using veltron::docx::Fragment;
using veltron::docx::LineStyle;
using veltron::docx::ParagraphFormat;
using veltron::docx::Table;
using namespace veltron::test;

namespace {

QByteArray pngOf(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkRed);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QString bookmark(int id, const char* name, const QString& inside = {})
{
    return QStringLiteral(R"(<w:bookmarkStart w:id="%1" w:name="%2"/>%3<w:bookmarkEnd w:id="%1"/>)")
        .arg(id)
        .arg(QString::fromLatin1(name), inside);
}

QString run(const QString& text, const QString& props = {})
{
    return QStringLiteral(R"(<w:r>%1<w:t xml:space="preserve">%2</w:t></w:r>)")
        .arg(props.isEmpty() ? QString() : QStringLiteral("<w:rPr>%1</w:rPr>").arg(props), text);
}

QString para(const QString& content, const QString& props = {})
{
    return QStringLiteral("<w:p>%1%2</w:p>")
        .arg(props.isEmpty() ? QString() : QStringLiteral("<w:pPr>%1</w:pPr>").arg(props), content);
}

class DocxTest : public ::testing::Test {
protected:
    QString make(const QString& body, const QString& name = QStringLiteral("t.docx"))
    {
        return writeDocx(folder.file(name), body);
    }
    // Saves, reads the file back and checks it is a sound document.
    QByteArray saved(const Document& document)
    {
        const QString path = folder.file(QStringLiteral("out.docx"));
        document.save(path);
        const QByteArray xml = documentPart(path);
        EXPECT_EQ(soundnessProblems(xml), QStringList());
        return xml;
    }
    TempFolder folder;
};

// ---- setting a bookmark's text ------------------------------------------

struct SetTextCase {
    const char* title;
    QString body;
    QString expectedParagraph;  // text of the paragraph holding the bookmark
    QString expectedProps;      // an element the new run must carry, or empty
};

class SetBookmarkText : public DocxTest, public ::testing::WithParamInterface<SetTextCase> {};

TEST_P(SetBookmarkText, ReplacesTheRangeAndKeepsTheBookmark)
{
    const SetTextCase& c = GetParam();
    Document document = Document::open(make(c.body));
    document.setBookmarkText(QStringLiteral("mX"), QStringLiteral(" 12,5 "));
    EXPECT_EQ(document.bookmarkText(QStringLiteral("mX")), QStringLiteral(" 12,5 ")) << c.title;

    // Refilled by the same bookmark: the old value goes, the new one stands.
    document.setBookmarkText(QStringLiteral("mX"), QStringLiteral("7"));
    EXPECT_EQ(document.bookmarkText(QStringLiteral("mX")), QStringLiteral("7")) << c.title;

    const QByteArray xml = saved(document);
    EXPECT_TRUE(paragraphTexts(xml).contains(c.expectedParagraph)) << c.title << "\n" << xml.constData();
    if (!c.expectedProps.isEmpty()) {
        auto doc = parseXml(xml);
        const auto runs = doc->select_nodes("//w:r[w:t='7']");
        ASSERT_EQ(runs.size(), 1u) << c.title;
        EXPECT_TRUE(runs.first().node().child("w:rPr").child(c.expectedProps.toUtf8().constData())) << c.title;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, SetBookmarkText,
    ::testing::Values(
        SetTextCase{"collapsed, after text", para(run("m = ") + bookmark(1, "mX") + run(" кг")),
                    QStringLiteral("m = 7 кг"), {}},
        SetTextCase{"collapsed, formatted like the text before it",
                    para(run("Блок: ", "<w:b/>") + bookmark(1, "mX")), QStringLiteral("Блок: 7"),
                    QStringLiteral("w:b")},
        SetTextCase{"around old text in a subscript run",
                    para(run("R") + bookmark(1, "mX", run("старое", "<w:vertAlign w:val=\"subscript\"/>")) + run(" м")),
                    QStringLiteral("R7 м"), QStringLiteral("w:vertAlign")},
        SetTextCase{"across two paragraphs",
                    para(run("до ") + R"(<w:bookmarkStart w:id="4" w:name="mX"/>)" + run("a"))
                        + para(run("b")) + para(run("c") + R"(<w:bookmarkEnd w:id="4"/>)" + run(" после")),
                    QStringLiteral("до 7 после"), {}},
        SetTextCase{"between paragraphs", para(run("x")) + bookmark(1, "mX") + para(run("y")),
                    QStringLiteral("7"), {}},
        SetTextCase{"in a table cell",
                    R"(<w:tbl><w:tblPr><w:tblW w:w="0" w:type="auto"/></w:tblPr><w:tblGrid><w:gridCol w:w="2000"/></w:tblGrid><w:tr><w:tc><w:tcPr><w:tcW w:w="2000" w:type="dxa"/></w:tcPr>)"
                        + para(bookmark(1, "mX")) + "</w:tc></w:tr></w:tbl>" + para({}),
                    QStringLiteral("7"), {}}));

TEST_F(DocxTest, TextWithBreaksTabsAndControlCharacters)
{
    Document document = Document::open(make(para(bookmark(1, "mX"))));
    document.setBookmarkText(QStringLiteral("mX"), QStringLiteral("1,5\n(вручную)\tx\x01y <&>"));
    EXPECT_EQ(document.bookmarkText(QStringLiteral("mX")), QStringLiteral("1,5\n(вручную)\txy <&>"));
    const QByteArray xml = saved(document);
    EXPECT_TRUE(xml.contains("<w:br/>"));
    EXPECT_TRUE(xml.contains("<w:tab/>"));
    EXPECT_TRUE(xml.contains("y &lt;&amp;&gt;"));
}

TEST_F(DocxTest, BookmarksInsideTheReplacedRangeGoWhileOverlappingOnesStay)
{
    // mIn lies wholly inside mX; mOver starts inside mX and ends after it.
    const QString body = para(R"(<w:bookmarkStart w:id="1" w:name="mX"/>)" + bookmark(2, "mIn", run("a"))
                              + R"(<w:bookmarkStart w:id="3" w:name="mOver"/>)" + run("b")
                              + R"(<w:bookmarkEnd w:id="1"/>)" + run("c") + R"(<w:bookmarkEnd w:id="3"/>)");
    Document document = Document::open(make(body));
    document.setBookmarkText(QStringLiteral("mX"), QStringLiteral("7"));
    EXPECT_FALSE(document.hasBookmark(QStringLiteral("mIn")));
    EXPECT_TRUE(document.hasBookmark(QStringLiteral("mOver")));
    EXPECT_EQ(document.bookmarkText(QStringLiteral("mOver")), QStringLiteral("c"));
    // The kept marker is the one found from now on.
    document.setBookmarkText(QStringLiteral("mOver"), QStringLiteral("9"));
    EXPECT_EQ(paragraphTexts(saved(document)).first(), QStringLiteral("79"));
}

// ---- paragraphs -----------------------------------------------------------

TEST_F(DocxTest, AppendedParagraphsFollowEachOtherInsideTheBookmark)
{
    const QString body = para(run("Перед")) + para(bookmark(1, "Begin")) + para(run("После"));
    Document document = Document::open(make(body));
    document.appendParagraph(QStringLiteral("Begin"), QStringLiteral("РЕЗУЛЬТАТЫ РАСЧЕТА  \"Блок\""),
                             ParagraphFormat{14, true, Alignment::Center});
    document.appendParagraph(QStringLiteral("Begin"), QStringLiteral("Общая информация:"));
    EXPECT_EQ(document.bookmarkText(QStringLiteral("Begin")),
              QStringLiteral("РЕЗУЛЬТАТЫ РАСЧЕТА  \"Блок\"\nОбщая информация:\n"));

    const QByteArray xml = saved(document);
    EXPECT_EQ(paragraphTexts(xml), (QStringList{QStringLiteral("Перед"), QStringLiteral("РЕЗУЛЬТАТЫ РАСЧЕТА  \"Блок\""),
                                                QStringLiteral("Общая информация:"), QString(),
                                                QStringLiteral("После")}));
    auto doc = parseXml(xml);
    const auto paragraphs = doc->select_nodes("//w:body/w:p");
    const pugi::xml_node first = paragraphs[1].node();
    const pugi::xml_node second = paragraphs[2].node();
    EXPECT_STREQ(first.child("w:pPr").child("w:jc").attribute("w:val").value(), "center");
    EXPECT_STREQ(first.child("w:r").child("w:rPr").child("w:sz").attribute("w:val").value(), "28");
    EXPECT_STREQ(first.child("w:r").child("w:rPr").child("w:b").attribute("w:val").value(), "1");
    EXPECT_STREQ(second.child("w:pPr").child("w:jc").attribute("w:val").value(), "left");
    EXPECT_STREQ(second.child("w:r").child("w:rPr").child("w:sz").attribute("w:val").value(), "24");
    EXPECT_STREQ(second.child("w:r").child("w:rPr").child("w:b").attribute("w:val").value(), "0");
}

TEST_F(DocxTest, StyledParagraphsTakeTheirLookFromTheStyle)
{
    Document document = Document::open(make(para(bookmark(1, "Begin"))));
    document.appendStyledParagraph(QStringLiteral("Begin"), QStringLiteral("1. Установка"), QStringLiteral("Heading1"));
    document.appendParagraph(QStringLiteral("Begin"), QStringLiteral("Текст"));
    EXPECT_EQ(document.bookmarkText(QStringLiteral("Begin")), QStringLiteral("1. Установка\nТекст\n"));

    auto doc = parseXml(saved(document));
    const pugi::xml_node styled = doc->select_node("//w:p[w:r/w:t='1. Установка']").node();
    EXPECT_STREQ(styled.child("w:pPr").child("w:pStyle").attribute("w:val").value(), "Heading1");
    EXPECT_FALSE(styled.child("w:pPr").child("w:jc"));
    EXPECT_FALSE(styled.select_node(".//w:sz | .//w:b"));
    const pugi::xml_node plain = doc->select_node("//w:p[w:r/w:t='Текст']").node();
    EXPECT_FALSE(plain.child("w:pPr").child("w:pStyle"));
    EXPECT_STREQ(plain.child("w:r").child("w:rPr").child("w:sz").attribute("w:val").value(), "24");
}

TEST_F(DocxTest, AppendAfterTextOfTheSameParagraphJoinsIt)
{
    Document document = Document::open(make(para(run("Итого: ") + bookmark(1, "mX") + run("конец"))));
    document.appendParagraph(QStringLiteral("mX"), QStringLiteral("5"));
    EXPECT_EQ(paragraphTexts(saved(document)), (QStringList{QStringLiteral("Итого: 5"), QStringLiteral("конец")}));
}

// ---- tables ---------------------------------------------------------------

TEST_F(DocxTest, TableAtABookmarkStandsBetweenAppendedParagraphs)
{
    Document document = Document::open(make(para(bookmark(1, "Begin1")) + para(run("Дальше"))));
    document.appendParagraph(QStringLiteral("Begin1"), QStringLiteral("Информация о рассчитываемом блоке"));
    Table table = document.addTable(QStringLiteral("Begin1"), 2, 3);
    document.appendParagraph(QStringLiteral("Begin1"), QStringLiteral("После таблицы"));
    EXPECT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.columnCount(), 3);
    table.fillCell(1, 1, QStringLiteral("Наименование блока"));
    table.fillCell(2, 3, QStringLiteral("0,153"));

    const QByteArray xml = saved(document);
    EXPECT_EQ(paragraphTexts(xml),
              (QStringList{QStringLiteral("Информация о рассчитываемом блоке"), QStringLiteral("Наименование блока"),
                           QString(), QString(), QString(), QString(), QStringLiteral("0,153"),
                           QStringLiteral("После таблицы"), QString(), QStringLiteral("Дальше")}));
    EXPECT_TRUE(document.bookmarkText(QStringLiteral("Begin1")).contains(QStringLiteral("0,153")));
}

TEST_F(DocxTest, AHeadingRowIsBoldShadedAndRepeatedOnEveryPageAndRowsStayWhole)
{
    Document document = Document::open(make(para(bookmark(1, "T"))));
    Table table = document.addTable(QStringLiteral("T"), 3, 2);
    table.markHeadingRow();
    table.keepRowsWhole();
    table.fillCell(1, 1, QStringLiteral("Сообщение"));
    table.fillCell(2, 1, QStringLiteral("Текст"));

    auto doc = parseXml(saved(document));
    EXPECT_TRUE(doc->select_node("//w:tr[1]/w:trPr/w:tblHeader"));
    EXPECT_FALSE(doc->select_node("//w:tr[2]/w:trPr/w:tblHeader"));
    EXPECT_EQ(doc->select_nodes("//w:tr[1]/w:tc/w:tcPr/w:shd[@w:fill='E7E6E6']").size(), 2u);
    EXPECT_FALSE(doc->select_node("//w:tr[2]//w:shd"));
    EXPECT_STREQ(doc->select_node("//w:r[w:t='Сообщение']/w:rPr/w:b").node().attribute("w:val").value(), "1");
    EXPECT_FALSE(doc->select_node("//w:r[w:t='Текст']/w:rPr/w:b[@w:val='1']"));
    EXPECT_EQ(doc->select_nodes("//w:tr/w:trPr/w:cantSplit").size(), 3u);
    EXPECT_FALSE(doc->select_node("//w:keepNext")) << "rows kept whole, not kept together";
}

TEST_F(DocxTest, SectionEndsPutWhatStandsBeforeThemOnPagesOfTheirOwn)
{
    Document document = Document::open(make(para(bookmark(1, "Begin")) + para(run("Конец"))));
    document.appendParagraph(QStringLiteral("Begin"), QStringLiteral("Текст"));
    document.endSection(QStringLiteral("Begin"), false);
    document.appendParagraph(QStringLiteral("Begin"), QStringLiteral("Широкий рисунок"));
    document.endSection(QStringLiteral("Begin"), true);
    document.appendParagraph(QStringLiteral("Begin"), QStringLiteral("Дальше"));
    const QString path = folder.file(QStringLiteral("out.docx"));
    document.save(path);
    auto doc = parseXml(documentPart(path));

    EXPECT_EQ(paragraphTexts(documentPart(path)),
              (QStringList{"Текст", "", "Широкий рисунок", "", "Дальше", "", "Конец"}));
    const auto ends = doc->select_nodes("//w:body/w:p/w:pPr/w:sectPr");
    ASSERT_EQ(ends.size(), 2u);
    // The first ends the portrait pages, a copy of the document's own section.
    EXPECT_STREQ(ends[0].node().child("w:pgSz").attribute("w:w").value(), "11906");
    EXPECT_FALSE(ends[0].node().child("w:pgSz").attribute("w:orient"));
    EXPECT_STREQ(ends[0].node().child("w:pgMar").attribute("w:left").value(), "1701");
    // The second turns its pages to landscape.
    EXPECT_STREQ(ends[1].node().child("w:pgSz").attribute("w:w").value(), "16838");
    EXPECT_STREQ(ends[1].node().child("w:pgSz").attribute("w:h").value(), "11906");
    EXPECT_STREQ(ends[1].node().child("w:pgSz").attribute("w:orient").value(), "landscape");
    // What follows is on the pages of the body's section, which stays as it was.
    EXPECT_STREQ(doc->select_node("//w:body/w:sectPr/w:pgSz").node().attribute("w:w").value(), "11906");
    EXPECT_TRUE(document.bookmarkText(QStringLiteral("Begin")).contains(QStringLiteral("Широкий рисунок")));

    Document inCell = Document::open(make(R"(<w:tbl><w:tr><w:tc>)" + para(bookmark(1, "C")) + R"(</w:tc></w:tr></w:tbl>)"
                                          + para(QString()),
                                          QStringLiteral("cell.docx")));
    try {
        inCell.endSection(QStringLiteral("C"), true);
        ADD_FAILURE() << "a section ended inside a table";
    } catch (const DocxError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("внутри таблицы"))) << e.message().toStdString();
    }
}

TEST_F(DocxTest, TableFirstAtAnEmptyBookmarkIsInsideIt)
{
    Document document = Document::open(make(para(bookmark(1, "tabwGE2"))));
    Table table = document.addTable(QStringLiteral("tabwGE2"), 2, 2);
    table.fillCell(1, 1, QStringLiteral("№ блока"));
    table.fillCell(2, 2, QStringLiteral("0"));
    EXPECT_EQ(document.bookmarkText(QStringLiteral("tabwGE2")), QStringLiteral("№ блока\n\n\n0\n"));
    saved(document);
}

TEST_F(DocxTest, PlacesLeaveNoBlankLineButAfterATableAndShortTablesKeepTogether)
{
    Document document = Document::open(make(para(run("Перед")) + para(bookmark(1, "Metka5"))
                                            + para(bookmark(2, "Metka3")) + para(bookmark(3, "tabwGE2"))
                                            + para(run("После"))));
    document.appendParagraph(QStringLiteral("Metka3"), QStringLiteral("Подпись таблицы"),
                             {12, false, Alignment::Left, true});
    Table table = document.addTable(QStringLiteral("tabwGE2"), 2, 1);
    table.fillCell(2, 1, QStringLiteral("Общая"));
    table.keepTogether();
    document.setParagraphFontSize(QStringLiteral("tabwGE2"), 10);
    for (const char* place : {"Metka5", "Metka3", "tabwGE2"})
        document.dropEmptyParagraph(QString::fromLatin1(place));

    const QByteArray xml = saved(document);
    EXPECT_EQ(paragraphTexts(xml), (QStringList{QStringLiteral("Перед"), QStringLiteral("Подпись таблицы"), QString(),
                                                QStringLiteral("Общая"), QString(), QStringLiteral("После")}));
    EXPECT_EQ(document.bookmarkText(QStringLiteral("Metka5")), QString());
    EXPECT_EQ(document.bookmarkText(QStringLiteral("Metka3")), QStringLiteral("Подпись таблицы"));
    EXPECT_EQ(document.bookmarkText(QStringLiteral("tabwGE2")), QStringLiteral("\nОбщая\n"));

    auto doc = parseXml(xml);
    EXPECT_TRUE(doc->select_node("//w:p[w:r/w:t='Подпись таблицы']/w:pPr/w:keepNext"));
    EXPECT_TRUE(doc->select_node("//w:tr[1]/w:tc/w:p/w:pPr/w:keepNext"));
    EXPECT_FALSE(doc->select_node("//w:tr[2]/w:tc/w:p/w:pPr/w:keepNext"));
    EXPECT_EQ(doc->select_nodes("//w:tr/w:trPr/w:cantSplit").size(), 2u);
    // The paragraph left after the table carries the size set for it.
    EXPECT_STREQ(doc->select_node("//w:tbl/following-sibling::w:p[1]/w:pPr/w:rPr/w:sz").node().attribute("w:val").value(),
                 "20");
}

TEST_F(DocxTest, TableCellsRotationBordersFontAndWidths)
{
    Document document = Document::open(make(para(bookmark(1, "T"))));
    Table table = document.addTable(QStringLiteral("T"), 2, 3, {10});
    table.fillCell(1, 1, QStringLiteral("Наименование"));
    table.fillCell(1, 2, QStringLiteral("Молярная масса, кг/кмоль"));
    table.fillCell(1, 3, QStringLiteral("t"));
    table.fillCell(2, 1, QStringLiteral("Резервуар хранения бензина с понтоном"));
    table.fillCell(2, 2, QStringLiteral("95"));
    table.fillCell(2, 3, QStringLiteral("1"));
    table.fillCell(2, 3, QStringLiteral("2"));  // appends, as Word's InsertAfter
    table.rotateCell(1, 2);
    table.setBorder(BorderSide::Left, BorderLine{LineStyle::Single, 1.5, QStringLiteral("auto")});
    table.setBorder(BorderSide::InsideVertical, BorderLine{LineStyle::None, 0, {}});
    table.setBorder(BorderSide::Bottom, BorderLine{LineStyle::Double, 0.75, QStringLiteral("#ff0000")});
    table.setFontSize(12);

    const QByteArray xml = saved(document);
    auto doc = parseXml(xml);
    const pugi::xml_node tbl = doc->select_node("//w:tbl").node();
    const pugi::xml_node borders = tbl.child("w:tblPr").child("w:tblBorders");
    EXPECT_STREQ(borders.child("w:left").attribute("w:sz").value(), "12");
    EXPECT_STREQ(borders.child("w:left").attribute("w:color").value(), "auto");
    EXPECT_STREQ(borders.child("w:insideV").attribute("w:val").value(), "nil");
    EXPECT_STREQ(borders.child("w:bottom").attribute("w:val").value(), "double");
    EXPECT_STREQ(borders.child("w:bottom").attribute("w:sz").value(), "6");
    EXPECT_STREQ(borders.child("w:bottom").attribute("w:color").value(), "FF0000");
    EXPECT_STREQ(borders.child("w:top").attribute("w:val").value(), "single");

    const pugi::xml_node rotated = doc->select_node("//w:tr[1]/w:tc[2]/w:tcPr").node();
    EXPECT_STREQ(rotated.child("w:textDirection").attribute("w:val").value(), "btLr");
    EXPECT_STREQ(rotated.child("w:vAlign").attribute("w:val").value(), "center");
    // The rotated row is raised for its text, the other row is left alone.
    EXPECT_GT(doc->select_node("//w:tr[1]/w:trPr/w:trHeight").node().attribute("w:val").as_int(), 2000);
    EXPECT_FALSE(doc->select_node("//w:tr[2]/w:trPr/w:trHeight"));

    for (const auto& size : doc->select_nodes("//w:tbl//w:sz"))
        EXPECT_STREQ(size.node().attribute("w:val").value(), "24");
    EXPECT_EQ(paragraphTexts(xml).at(5), QStringLiteral("12"));

    // Widths follow the content: the long name column is the widest, the
    // rotated one is narrow, and cells carry the widths of the grid.
    std::vector<int> grid;
    for (const auto& col : doc->select_nodes("//w:tblGrid/w:gridCol"))
        grid.push_back(col.node().attribute("w:w").as_int());
    ASSERT_EQ(grid.size(), 3u);
    EXPECT_GT(grid[0], grid[1]);
    EXPECT_LT(grid[1], 1000);
    EXPECT_LE(grid[0] + grid[1] + grid[2], 9355);
    EXPECT_EQ(doc->select_node("//w:tr[2]/w:tc[1]/w:tcPr/w:tcW").node().attribute("w:w").as_int(), grid[0]);
}

TEST_F(DocxTest, WideTableIsShrunkToThePage)
{
    Document document = Document::open(make(para(bookmark(1, "T"))));
    Table table = document.addTable(QStringLiteral("T"), 1, 4);
    for (int c = 1; c <= 4; ++c)
        table.fillCell(1, c, QString(QStringLiteral("слово ")).repeated(30));
    auto doc = parseXml(saved(document));
    int total = 0;
    for (const auto& col : doc->select_nodes("//w:tblGrid/w:gridCol"))
        total += col.node().attribute("w:w").as_int();
    EXPECT_LE(total, 9355);
    EXPECT_GT(total, 9000);
}

// A wide table with text after it: the landscape section ends right after
// it and the text goes on upright; written twice, the document stays the same.
TEST_F(DocxTest, AWideTableInTheMiddleGetsLandscapePagesOfItsOwn)
{
    Document document = Document::open(
        make(para(run("Текст")) + para(run("Заголовок таблицы")) + para(bookmark(1, "T")) + para(run("Дальше"))));
    Table table = document.addTable(QStringLiteral("T"), 1, 12);
    for (int col = 1; col <= 12; ++col)
        table.fillCell(1, col, QStringLiteral("1234,567"));
    const QByteArray xml = saved(document);
    EXPECT_EQ(document.documentXml(), xml);
    auto doc = parseXml(xml);
    EXPECT_TRUE(doc->select_node("//w:tbl/following-sibling::w:p[1]/w:pPr/w:sectPr/w:pgSz[@w:orient='landscape']"));
    EXPECT_FALSE(doc->select_node("//w:body/w:sectPr/w:pgSz[@w:orient='landscape']"));
    EXPECT_EQ(doc->select_nodes("//w:pPr/w:sectPr").size(), 2u);
}

// Closing lines (the signature block) after a wide table still let it end
// the document: they stand on its last landscape page, any other text does not.
TEST_F(DocxTest, ClosingLinesAfterAWideTableStandOnItsLastPage)
{
    for (const bool closing : {true, false}) {
        SCOPED_TRACE(closing ? "closing lines" : "ordinary text");
        Document document = Document::open(
            make(para(run("Текст")) + para(run("Заголовок таблицы")) + para(bookmark(1, "T")) + para(bookmark(2, "S"))));
        Table table = document.addTable(QStringLiteral("T"), 1, 12);
        for (int col = 1; col <= 12; ++col)
            table.fillCell(1, col, QStringLiteral("1234,567"));
        const QString style = closing ? QString::fromLatin1(veltron::docx::kClosingStyle) : QStringLiteral("BodyText");
        document.appendStyledParagraph(QStringLiteral("S"), QStringLiteral("Расчет выполнил: инженер"), style);
        document.appendStyledParagraph(QStringLiteral("S"), QStringLiteral("Дата: 10.12.2026"), style);
        auto doc = parseXml(saved(document));
        EXPECT_EQ(bool(doc->select_node("//w:body/w:sectPr/w:pgSz[@w:orient='landscape']")), closing);
        EXPECT_EQ(doc->select_nodes("//w:pPr/w:sectPr").size(), closing ? 1u : 2u);
    }
}

// Widths written for tables of numbers and words: no column is narrower
// than its longest number or word at the font size the table ends with, the
// table keeps within the text width, and a table too wide for an upright
// page at 10 pt gets landscape pages of its own.
TEST_F(DocxTest, NumbersAndWordsAreNeverNarrowerThanTheirColumn)
{
    struct Case {
        const char* title;
        int columns;
        QString cell;
        double points;  // the font size the table ends with
        bool landscape;
    };
    const std::vector<Case> cases = {
        {"short numbers fit", 6, QStringLiteral("1234,567"), 12, false},
        {"long text wraps at spaces", 3, QString(QStringLiteral("Бензин автомобильный ")).repeated(8), 12, false},
        {"a slightly smaller font", 8, QStringLiteral("1234,567"), 10.5, false},
        {"landscape and a smaller font", 12, QStringLiteral("1234,567"), 11, true},
        {"19 short numbers on landscape pages", 19, QStringLiteral("0,35"), 12, true},
    };
    for (const Case& c : cases) {
        Document document =
            Document::open(make(para(run("Текст")) + para(run("Заголовок таблицы")) + para(bookmark(1, "T"))));
        Table table = document.addTable(QStringLiteral("T"), 1, c.columns);
        for (int col = 1; col <= c.columns; ++col)
            table.fillCell(1, col, c.cell);
        const QByteArray xml = saved(document);
        // Writing the document again changes nothing.
        EXPECT_EQ(document.documentXml(), xml) << c.title;
        auto doc = parseXml(xml);
        const double points = doc->select_node("//w:tc/w:p/w:r/w:rPr/w:sz").node().attribute("w:val").as_double() / 2;
        EXPECT_EQ(points, c.points) << c.title;
        double longestWord = 0;
        for (const QString& word : c.cell.split(' ', Qt::SkipEmptyParts))
            longestWord = std::max(longestWord, veltron::docx::textWidthEm(word) * points * 20);
        int total = 0;
        for (const auto& col : doc->select_nodes("//w:tblGrid/w:gridCol")) {
            total += col.node().attribute("w:w").as_int();
            EXPECT_GT(col.node().attribute("w:w").as_int(), longestWord + 170) << c.title;
        }
        EXPECT_LE(total, c.landscape ? 14287 : 9355) << c.title;
        // The table ends the document: the last section turns landscape, no
        // empty page follows; the heading above the table goes with it, the
        // text before stays upright.
        const auto turned = doc->select_node("//w:body/w:sectPr/w:pgSz[@w:orient='landscape']");
        EXPECT_EQ(bool(turned), c.landscape) << c.title;
        EXPECT_FALSE(doc->select_node("//w:tbl/following-sibling::w:p/w:pPr/w:sectPr")) << c.title;
        if (c.landscape) {
            const auto heading = doc->select_node("//w:p[w:pPr/w:sectPr]/following-sibling::w:p[1]/w:r/w:t");
            EXPECT_STREQ(heading.node().text().get(), "Заголовок таблицы") << c.title;
        }
    }
}

// A table that ends the document is followed by the paragraph Word needs
// there; made a hair high, it brings no blank page when the table fills its
// page. Any other closing paragraph keeps its height.
TEST_F(DocxTest, TheParagraphClosingADocumentAfterATableTakesNoRoom)
{
    const QString table = QStringLiteral(
        "<w:tbl><w:tblPr><w:tblW w:w=\"0\" w:type=\"auto\"/></w:tblPr><w:tblGrid><w:gridCol w:w=\"2000\"/></w:tblGrid>"
        "<w:tr><w:tc><w:tcPr><w:tcW w:w=\"2000\" w:type=\"dxa\"/></w:tcPr><w:p><w:r><w:t>x</w:t></w:r></w:p></w:tc></w:tr>"
        "</w:tbl>");
    auto doc = parseXml(saved(Document::open(make(para(run("Итоги")) + table + para("")))));
    const auto closing = doc->select_node("//w:body/w:p[last()]/w:pPr/w:spacing").node();
    EXPECT_STREQ(closing.attribute("w:lineRule").value(), "exact");
    EXPECT_STREQ(closing.attribute("w:line").value(), "20");

    auto text = parseXml(saved(Document::open(make(para(run("Итоги")) + table + para(run("Подпись"))))));
    EXPECT_FALSE(text->select_node("//w:body/w:p[last()]/w:pPr/w:spacing"));
}

// ---- fragments ------------------------------------------------------------

class FragmentTest : public DocxTest {
protected:
    QString fragmentPath()
    {
        const QString table =
            R"(<w:tbl><w:tblPr><w:tblW w:w="0" w:type="auto"/></w:tblPr><w:tblGrid><w:gridCol w:w="3000"/><w:gridCol w:w="2000"/><w:gridCol w:w="2000"/></w:tblGrid>)"
            + QStringLiteral("<w:tr>%1</w:tr><w:tr>%1</w:tr><w:tr>%1</w:tr></w:tbl>")
                  .arg(QString(R"(<w:tc><w:tcPr><w:tcW w:w="2000" w:type="dxa"/></w:tcPr><w:p/></w:tc>)").repeated(3));
        return make(para(run("Энергия ") + bookmark(5, "mE") + run(" кДж"), R"(<w:jc w:val="center"/>)") + table
                        + para(R"(<w:pPr><w:sectPr/></w:pPr>)"),
                    QStringLiteral("Metka7.docx"));
    }
    Fragment filled(int block)
    {
        Fragment fragment = Fragment::open(fragmentPath());
        fragment.fillCell(2, 3, QStringLiteral("значение %1").arg(block));
        fragment.setBookmarkText(QStringLiteral("mE"), QString::number(block * 100));
        fragment.insertHeading(QStringLiteral("Смежный блок № %1 (i=%1) - Емкость").arg(block));
        return fragment;
    }
};

TEST_F(FragmentTest, CopiesStandInCallOrderWithUniqueBookmarks)
{
    Document document =
        Document::open(make(para(run("Начало")) + para(bookmark(0, "Metka7")) + para(bookmark(1, "mE")) + para(run("Конец"))));
    document.insertFragment(QStringLiteral("Metka7"), filled(2));
    document.insertFragment(QStringLiteral("Metka7"), filled(3));

    const QByteArray xml = saved(document);
    const QStringList texts = paragraphTexts(xml);
    const qsizetype first = texts.indexOf(QStringLiteral("Смежный блок № 2 (i=2) - Емкость"));
    const qsizetype second = texts.indexOf(QStringLiteral("Смежный блок № 3 (i=3) - Емкость"));
    ASSERT_GE(first, 0);
    ASSERT_GT(second, first);
    EXPECT_EQ(texts.at(first + 1), QStringLiteral("Энергия 200 кДж"));
    EXPECT_EQ(texts.at(second + 1), QStringLiteral("Энергия 300 кДж"));
    EXPECT_EQ(texts.indexOf(QStringLiteral("значение 2")), first + 2 + 5);
    EXPECT_LT(texts.indexOf(QStringLiteral("Начало")), first);
    EXPECT_GT(texts.indexOf(QStringLiteral("Конец")), second);

    // The report's own mE keeps its name, the copies get suffixes.
    EXPECT_EQ(document.bookmarkText(QStringLiteral("mE_2")), QStringLiteral("200"));
    EXPECT_EQ(document.bookmarkText(QStringLiteral("mE_3")), QStringLiteral("300"));
    EXPECT_TRUE(document.bookmarkText(QStringLiteral("Metka7")).contains(QStringLiteral("Энергия 300 кДж")));
    // The heading is formatted like the fragment's first paragraph.
    auto doc = parseXml(xml);
    EXPECT_STREQ(doc->select_node("//w:p[w:r/w:t='Смежный блок № 2 (i=2) - Емкость']/w:pPr/w:jc").node().attribute("w:val").value(),
                 "center");
}

TEST_F(FragmentTest, TheFragmentFileIsNotChanged)
{
    const QString path = fragmentPath();
    QFile before(path);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray original = before.readAll();
    before.close();
    Document document = Document::open(make(para(bookmark(0, "M"))));
    Fragment fragment = Fragment::open(path);
    fragment.fillCell(1, 1, QStringLiteral("x"));
    document.insertFragment(QStringLiteral("M"), fragment);
    saved(document);
    QFile after(path);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), original);
}

// ---- failures -------------------------------------------------------------

TEST_F(DocxTest, FailuresCarryRussianMessages)
{
    const QString good = make(para(bookmark(1, "mX")) + para(run("текст")));
    QFile junk(folder.file(QStringLiteral("junk.docx")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a zip archive");
    junk.close();

    struct Case {
        const char* title;
        std::function<void()> action;
        QString expected;
    };
    const std::vector<Case> cases = {
        {"missing template", [&] { Document::open(folder.file(QStringLiteral("нет.docx"))); },
         QStringLiteral("Не найден шаблон отчета «нет.docx»")},
        {"template not a docx", [&] { Document::open(junk.fileName()); },
         QStringLiteral("Шаблон «junk.docx» не является документом .docx")},
        {"missing fragment", [&] { Fragment::open(folder.file(QStringLiteral("Metka9.docx"))); },
         QStringLiteral("Не найден фрагмент отчета «Metka9.docx»")},
        {"missing bookmark text",
         [&] { Document::open(good).setBookmarkText(QStringLiteral("mR0"), QStringLiteral("1")); },
         QStringLiteral("В документе «t.docx» нет закладки «mR0».")},
        {"missing bookmark paragraph",
         [&] { Document::open(good).appendParagraph(QStringLiteral("Begin"), QStringLiteral("1")); },
         QStringLiteral("нет закладки «Begin»")},
        {"missing bookmark table", [&] { Document::open(good).addTable(QStringLiteral("Begin1"), 2, 2); },
         QStringLiteral("нет закладки «Begin1»")},
        {"missing bookmark fragment",
         [&] { Document::open(good).insertFragment(QStringLiteral("Metka7"), Fragment::open(good)); },
         QStringLiteral("нет закладки «Metka7»")},
        {"missing fragment bookmark",
         [&] { Fragment::open(good).setBookmarkText(QStringLiteral("m3G11"), QStringLiteral("1")); },
         QStringLiteral("нет закладки «m3G11»")},
        {"fragment without a table", [&] { Fragment::open(good).fillCell(2, 3, QStringLiteral("1")); },
         QStringLiteral("Во фрагменте «t.docx» нет таблицы.")},
        {"cell out of range",
         [&] { Document::open(good).addTable(QStringLiteral("mX"), 2, 2).fillCell(3, 1, QStringLiteral("1")); },
         QStringLiteral("нет ячейки (3, 1)")},
        {"bad table size", [&] { Document::open(good).addTable(QStringLiteral("mX"), 0, 2); },
         QStringLiteral("не может быть создана")},
        {"unwritable target",
         [&] { Document::open(good).save(folder.file(QStringLiteral("нет такой папки/отчет.docx"))); },
         QStringLiteral("Не удалось сохранить отчет в файл")},
        {"target is a folder", [&] { Document::open(good).save(folder.path()); },
         QStringLiteral("Не удалось сохранить отчет в файл")},
        {"picture not a PNG", [&] { Document::open(good).addPicture(QStringLiteral("mX"), "GIF89a", {10, 10}); },
         QStringLiteral("Рисунок у закладки «mX» не является изображением PNG.")},
        {"picture without a size", [&] { Document::open(good).addPicture(QStringLiteral("mX"), pngOf(4, 2), {0, 10}); },
         QStringLiteral("не может иметь размер 0 × 10 мм")},
        {"missing bookmark picture",
         [&] { Document::open(good).addPicture(QStringLiteral("Ris"), pngOf(4, 2), {10, 10}); },
         QStringLiteral("нет закладки «Ris»")},
    };
    for (const Case& c : cases) {
        try {
            c.action();
            ADD_FAILURE() << c.title << ": no error";
        } catch (const DocxError& error) {
            EXPECT_TRUE(error.message().contains(c.expected)) << c.title << ": " << error.message().toStdString();
        }
    }
    EXPECT_FALSE(QFileInfo::exists(folder.file(QStringLiteral("нет такой папки"))));
}

TEST_F(DocxTest, PicturesAreInlineDrawingsWithTheirPartsRelationshipsAndSizes)
{
    // The document has neither relationships nor a picture content type yet.
    Document document = Document::open(make(para(run("Текст") + bookmark(1, "Ris")) + para(run("Дальше"))));
    const QByteArray first = pngOf(40, 20);
    const QByteArray second = pngOf(10, 5);
    document.addPicture(QStringLiteral("Ris"), first, {50, 25});
    document.appendParagraph(QStringLiteral("Ris"), QStringLiteral("Рисунок"));
    veltron::docx::PictureFormat small{10, 5, Alignment::Left, false, QStringLiteral("второй")};
    document.addPicture(QStringLiteral("Ris"), second, small);
    const QByteArray xml = saved(document);
    EXPECT_EQ(paragraphTexts(xml), (QStringList{"Текст", "", "Рисунок", "", "", "Дальше"}));

    const auto package = veltron::docx::Package::read(folder.file(QStringLiteral("out.docx")), QStringLiteral("отчет"));
    EXPECT_EQ(package.part("word/media/image1.png"), first);
    EXPECT_EQ(package.part("word/media/image2.png"), second);
    auto types = parseXml(package.part("[Content_Types].xml"));
    EXPECT_EQ(types->select_nodes("//Default[@Extension='png'][@ContentType='image/png']").size(), 1u);
    auto rels = parseXml(package.part("word/_rels/document.xml.rels"));

    auto doc = parseXml(xml);
    const auto drawings = doc->select_nodes("//w:p/w:r/w:drawing/wp:inline");
    ASSERT_EQ(drawings.size(), 2u);
    const struct {
        const char* target;
        const char* cx;
        const char* cy;
        const char* jc;
        const char* docPr;
    } expected[] = {{"media/image1.png", "1800000", "900000", "center", "1"},
                    {"media/image2.png", "360000", "180000", "left", "2"}};
    for (std::size_t i = 0; i < 2; ++i) {
        const pugi::xml_node inlined = drawings[i].node();
        EXPECT_STREQ(inlined.child("wp:extent").attribute("cx").value(), expected[i].cx);
        EXPECT_STREQ(inlined.child("wp:extent").attribute("cy").value(), expected[i].cy);
        EXPECT_STREQ(inlined.select_node(".//a:xfrm/a:ext").node().attribute("cx").value(), expected[i].cx);
        EXPECT_STREQ(inlined.child("wp:docPr").attribute("id").value(), expected[i].docPr);
        const std::string id = inlined.select_node(".//a:blip").node().attribute("r:embed").value();
        const auto rel = rels->select_node(("//Relationship[@Id='" + id + "']").c_str()).node();
        EXPECT_STREQ(rel.attribute("Target").value(), expected[i].target);
        const pugi::xml_node props = inlined.parent().parent().parent().child("w:pPr");
        EXPECT_STREQ(props.child("w:jc").attribute("w:val").value(), expected[i].jc);
        EXPECT_EQ(bool(props.child("w:keepNext")), i == 0);
    }
    EXPECT_STREQ(drawings[1].node().child("wp:docPr").attribute("descr").value(), "второй");
    const pugi::xml_node root = doc->document_element();
    EXPECT_STREQ(root.attribute("xmlns:wp").value(),
                 "http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing");
    EXPECT_STREQ(root.attribute("xmlns:r").value(),
                 "http://schemas.openxmlformats.org/officeDocument/2006/relationships");
    // The bookmark holds what was put at it: two pictures and the caption between them.
    EXPECT_EQ(document.bookmarkText(QStringLiteral("Ris")), QStringLiteral("\n\nРисунок\n\n"));
}

TEST_F(DocxTest, ReplacingTextAcrossATableIsRefused)
{
    Document document = Document::open(make(para(bookmark(1, "Begin1"))));
    document.addTable(QStringLiteral("Begin1"), 1, 1).fillCell(1, 1, QStringLiteral("x"));
    EXPECT_THROW(document.setBookmarkText(QStringLiteral("Begin1"), QStringLiteral("y")), DocxError);
    EXPECT_EQ(soundnessProblems(document.documentXml()), QStringList());
}

// ---- determinism ----------------------------------------------------------

TEST_F(DocxTest, SameOperationsGiveTheSameBytes)
{
    const QString templ = make(para(bookmark(1, "Begin")) + para(bookmark(2, "mX")) + para(bookmark(3, "F")));
    const QString fragment = make(para(bookmark(1, "mF")), QStringLiteral("f.docx"));
    auto build = [&]() {
        Document document = Document::open(templ);
        document.setBookmarkText(QStringLiteral("mX"), QStringLiteral("3,142"));
        document.appendParagraph(QStringLiteral("Begin"), QStringLiteral("Заголовок"), {14, true, Alignment::Center});
        Table table = document.addTable(QStringLiteral("Begin"), 2, 2);
        table.fillCell(1, 1, QStringLiteral("a"));
        table.rotateCell(1, 2);
        for (int i = 0; i < 2; ++i) {
            Fragment copy = Fragment::open(fragment);
            copy.setBookmarkText(QStringLiteral("mF"), QString::number(i));
            document.insertFragment(QStringLiteral("F"), copy);
        }
        return document.toDocx();
    };
    const QByteArray first = build();
    const QByteArray second = build();
    EXPECT_EQ(first, second);
}

}  // namespace
