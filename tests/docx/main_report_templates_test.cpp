// The template and fragment documents of the main calculation report as the
// build packs them: each holds exactly the bookmarks the report fills in it,
// the fragments filled by table have that table first with an empty value
// column, and a report put together from all of them stays sound and reads
// in an office suite.

#include "docx/docx_fixture.h"

#include "report/docx/document.h"
#include "report/signature_block.h"

#include <gtest/gtest.h>

#include <QDir>

#include <algorithm>
#include <map>
#include <vector>

using namespace veltron::docx;
using namespace veltron::test;

namespace {

QStringList words(const char* spaced)
{
    return QString::fromLatin1(spaced).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// Bookmarks of the main template that receive paragraphs, tables, fragments
// or a whole sentence.
const QStringList& places()
{
    static const QStringList names = words(
        "Begin1 Begin Begin2 Metka1 Metka2 Metka3 Metka4 Metka5 Metka6 Metka7 Metka8 Metka9 Metka10 Metka11 "
        "Metka12 Metka13 Metka14 Metka15 Metka16 MetkaPn MetkaW tabwGE2 tabwGE1 tabwGE22 tabwGE23");
    return names;
}

// Bookmarks of the main template that receive a value.
const QStringList& values()
{
    static const QStringList names = words(
        // pressure and volume of the block
        "mPzn1 mPVzn1 mdeltP mdeltP1 mV1 mdeltPV1 "
        // spill evaporation
        "mTp mTkip2 mFp1 mFg mFg_1 mTayP mTayP_1 mTayP_2 mTay1 mLambda mPlP mcP mEps1 mMol mNyu mT01 "
        // energy terms, totals and category
        "mtE11 mtE21 mtE12 mtE22 mtE23 mtE24 mtEp A G E1 Eps mi G4 G4_1 G5 G5_1 G0 mq E4 E E_1 E_2 m m1 "
        "Name1 Name2 Q Q1 Kategor mE11 mA mGq mE21 mE12 mE22 mqr mE23 mE24 mG4 mG1 "
        // vapour-gas phase of the block and saturated vapour pressure
        "meps mP0 mR mrr mT0 mTv mTg mTr mTr1 mTkip mP01 mT1 mT11 mPn1 mCn mPl0 mV mG11 mG12 mA1 mGq1 mq1 "
        "mE1_1 mTvsp mFp mGs mVrk Name mTkip1 "
        // evaporation times and masses
        "mTau_max mTau_max1 mUmax mG21 mG21_1 mG12_1 mG12_2 mG23 mG23_1 mG24_1 mLnkpr mUv f13_1_2 "
        // closing values
        "mPn Pn mmi mi_1 mmiFg mG5 mm mQv mE mKateg");
    return names;
}

struct DocumentCase {
    DocumentCase(const char* name, QStringList names, int rows = 0, int row = 0, const char* text = "")
        : file(QString::fromLatin1(name)), bookmarks(std::move(names)), tableRows(rows), presetRow(row),
          presetText(QString::fromUtf8(text))
    {
    }
    QString file;
    QStringList bookmarks;
    int tableRows;  // rows of the first table, header included; 0: no table; -1: not checked
    int presetRow;  // a row whose value cell the fragment fills itself
    QString presetText;
};

const std::vector<DocumentCase>& documents()
{
    static const std::vector<DocumentCase> cases = {
        {"otchet_veltron_pril2.docx", places() + values() + QStringList{veltron::report::kSignatureBookmark}, -1},
        {"MetkaPn1.docx", words("mPn_1")},
        {"MetkaPn2.docx", words("mPn_1 mP0_1 mP0_2 mR_1 mR_2 mRn_1 mRn_2 mMol_1 mMol_2 mTk_1 mTk_2 mT1_1 mT1_2")},
        {"MetkaPn3.docx", words("mPn_1 mTvsp_1 mTvsp_2 mT1_1 mT1_2")},
        {"MetkaPn4.docx", words("mPn_1 mA_1 mA_2 mB_1 mB_2 mCa_1 mCa_2 mT1_1 mRez_1 mRez_2 mName_1")},
        {"Metka3.docx", words("m3G11 m3M m3P m3P0 m3R0 m3R01 m3T1 m3T11 m3V m3V0 m3V01")},
        {"Metka4.docx", words("m4A m4K m4K1 m4K2 m4P m4P1 m4P0 m4V")},
        {"Metka5.docx", words("mk mP Betta")},
        {"Metka4_1.docx", words("m4A m4P m4Betta m4V")},
        {"Metka12_1.docx", words("mTkip_G4 mTp_G4")},
        {"Metka14.docx", words("mFpg")},
        {"Metka16_1.docx", words("mTpom mVpotok")},
        {"Metka16_2.docx", words("mTpom")},
        {"Metka7.docx", {}, 11},
        {"Metka8.docx", {}, 6},
        {"Metka9.docx", {}, 12},
        {"Metka10.docx", {}, 5},
        {"Metka11_1.docx", {}, 5},
        {"Metka11_2.docx", {}, 8},
        {"Metka11_3.docx", {}, 8},
        {"Metka11_4.docx", {}, 7},
        {"Metka12_2.docx", {}, 11},
        // Row 7 names the gas constant, which the report does not write.
        {"Metka13.docx", {}, 14, 7, "8314"},
    };
    return cases;
}

QString pathOf(const QString& file)
{
    return QDir(templatesDir()).filePath(file);
}

QString cellText(pugi::xml_node cell)
{
    QString text;
    for (const auto& t : cell.select_nodes(".//w:t"))
        text += QString::fromUtf8(t.node().text().get());
    return text;
}

TEST(MainReportTemplates, EachDocumentHoldsItsBookmarksAndTable)
{
    for (const DocumentCase& c : documents()) {
        SCOPED_TRACE(c.file.toStdString());
        Document document = Document::open(pathOf(c.file));
        QStringList found = document.bookmarkNames();
        QStringList expected = c.bookmarks;
        std::sort(found.begin(), found.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(found, expected);
        EXPECT_EQ(soundnessProblems(document.documentXml()), QStringList());

        if (c.tableRows < 0)
            continue;
        auto xml = parseXml(documentPart(pathOf(c.file)));
        const pugi::xml_node table = xml->select_node("//w:body//w:tbl").node();
        if (c.tableRows == 0) {
            EXPECT_FALSE(table) << "a fragment filled by bookmarks has no table";
            continue;
        }
        ASSERT_TRUE(table);
        EXPECT_EQ(table.select_nodes("w:tblGrid/w:gridCol").size(), 3u);
        int row = 0;
        for (pugi::xml_node tr = table.child("w:tr"); tr; tr = tr.next_sibling("w:tr")) {
            ++row;
            std::vector<pugi::xml_node> cells;
            for (pugi::xml_node tc = tr.child("w:tc"); tc; tc = tc.next_sibling("w:tc"))
                cells.push_back(tc);
            ASSERT_EQ(cells.size(), 3u) << "row " << row;
            if (row == 1)
                continue;
            // The report appends its value to the cell, so the cell must be empty.
            EXPECT_FALSE(cellText(cells[1]).isEmpty()) << "row " << row << " names no quantity";
            EXPECT_EQ(cellText(cells[2]), row == c.presetRow ? c.presetText : QString()) << "row " << row;
        }
        EXPECT_EQ(row, c.tableRows);
    }
}

// A report in which every bookmark of the main template is used: values set,
// paragraphs and tables added, and every fragment filled and inserted.
Document assembleReport(std::map<QString, QString>& texts)
{
    Document report = Document::open(pathOf(QStringLiteral("otchet_veltron_pril2.docx")));
    int n = 0;
    for (const QString& name : values())
        texts[name] = QStringLiteral("%1,25").arg(100 + n++);
    texts[QStringLiteral("mPzn1")] = QStringLiteral("<");
    texts[QStringLiteral("mPVzn1")] = QStringLiteral(">");
    texts[QStringLiteral("Name1")] = texts[QStringLiteral("Name2")] = QStringLiteral("Емкость Е-1");
    texts[QStringLiteral("Kategor")] = texts[QStringLiteral("mKateg")] = QStringLiteral("II");
    texts[QStringLiteral("mG11")] = QStringLiteral("12,50 (вручную)");
    texts[QStringLiteral("Metka6")] = QStringLiteral("расчет осуществляется согласно формул 3.1 или 3.2");
    texts[QStringLiteral("Metka2")] = QStringLiteral("Расчет производится по формуле 12.");
    texts[QStringLiteral("Metka1")] = QStringLiteral("В расчете значение давления насыщенного пара не используется.");
    texts[QStringLiteral("Metka15")] = QStringLiteral("За время 60 c с поверхности аварийного пролива испарится 1,5 кг.");
    for (const auto& [name, text] : texts)
        report.setBookmarkText(name, text);

    report.appendParagraph(QStringLiteral("Begin"), QStringLiteral("РЕЗУЛЬТАТЫ РАСЧЕТА  \"Установка\""),
                           {12, false, Alignment::Center});
    for (const char* place : {"Begin1", "Begin2"}) {
        Table table = report.addTable(QString::fromLatin1(place), 2, 11);
        for (int c = 1; c <= 11; ++c)
            table.fillCell(1, c, QStringLiteral("Столбец %1").arg(c));
    }
    for (const char* place : {"tabwGE2", "tabwGE1", "tabwGE22", "tabwGE23"}) {
        Table table = report.addTable(QString::fromLatin1(place), 2, 2);
        table.fillCell(1, 1, QStringLiteral("№ блока"));
        table.fillCell(2, 1, QStringLiteral("Общая"));
    }

    const std::vector<std::pair<const char*, const char*>> inserted = {
        {"Metka3", "Metka3"},       {"Metka5", "Metka5"},       {"Metka4", "Metka4"},
        {"Metka4", "Metka4_1"},     {"Metka7", "Metka7"},       {"Metka7", "Metka7"},
        {"Metka8", "Metka8"},       {"Metka9", "Metka9"},       {"Metka10", "Metka10"},
        {"Metka11", "Metka11_1"},   {"Metka11", "Metka11_2"},   {"Metka11", "Metka11_3"},
        {"Metka11", "Metka11_4"},   {"Metka16", "Metka16_1"},   {"Metka16", "Metka16_2"},
        {"Metka12", "Metka12_1"},   {"Metka12", "Metka12_2"},   {"Metka13", "Metka13"},
        {"Metka14", "Metka14"},     {"MetkaPn", "MetkaPn1"},    {"MetkaPn", "MetkaPn2"},
        {"MetkaPn", "MetkaPn3"},    {"MetkaPn", "MetkaPn4"},
    };
    int block = 1;
    for (const auto& [place, file] : inserted) {
        const QString name = QString::fromLatin1(file) + QStringLiteral(".docx");
        const auto it = std::find_if(documents().begin(), documents().end(),
                                     [&](const DocumentCase& c) { return c.file == name; });
        Fragment fragment = Fragment::open(pathOf(name));
        for (const QString& bookmark : it->bookmarks)
            fragment.setBookmarkText(bookmark, QStringLiteral("7,5"));
        for (int row = 2; row <= it->tableRows; ++row)
            if (row != it->presetRow)
                fragment.fillCell(row, 3, QStringLiteral("%1,5").arg(row));
        if (it->tableRows > 0)
            fragment.insertHeading(QStringLiteral("Смежный блок № %1 (i=%1) - Колонна К-%1").arg(++block));
        report.insertFragment(QString::fromLatin1(place), fragment);
    }
    return report;
}

TEST(MainReportTemplates, AReportUsingEveryBookmarkAndFragmentStaysSound)
{
    std::map<QString, QString> texts;
    Document report = assembleReport(texts);
    EXPECT_EQ(soundnessProblems(report.documentXml()), QStringList());
    for (const auto& [name, text] : texts)
        EXPECT_EQ(report.bookmarkText(name), text) << name.toStdString();
}

TEST_F(OfficeSuite, ReadsTheAssembledMainReport)
{
    std::map<QString, QString> texts;
    const QString path = folder.file(QStringLiteral("otchet_pril2.docx"));
    assembleReport(texts).save(path);
    const QString pdf = convertToPdf(path, folder.path());
    keep(path);
    keep(pdf);
    const QString text = pdfText(pdf).simplified();
    for (const QString& wanted :
         {QStringLiteral("ОПРЕДЕЛЕНИЕ КАТЕГОРИЙ ВЗРЫВООПАСНОСТИ"), QStringLiteral("(3.1)"), QStringLiteral("(6.3)"),
          QStringLiteral("(10.3)"), QStringLiteral("(13.1)"), QStringLiteral("(14.3)"), QStringLiteral("(19.1)"),
          QStringLiteral("Универсальная газовая постоянная"), QStringLiteral("блок относится к II категории"),
          QStringLiteral("кг: 12,50 (вручную)"), QStringLiteral("< 0,07 МПа"),
          texts[QStringLiteral("mE")], QStringLiteral("Общая")})
        EXPECT_TRUE(text.contains(wanted)) << wanted.toStdString() << "\n" << text.toStdString();
    EXPECT_LT(text.indexOf(QStringLiteral("Смежный блок № 2")), text.indexOf(QStringLiteral("Смежный блок № 3")));
}

}  // namespace
