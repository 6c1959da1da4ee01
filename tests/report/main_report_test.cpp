// The main calculation report, made from inputs run through the engine and
// read back by its bookmarks and by what stands at its places.
#include "common/test_support.h"
#include "docx/docx_fixture.h"
#include "calc/engine.h"
#include "calc/engine_fixture.h"
#include "calc/number_text.h"
#include "report/docx/docx_error.h"
#include "report/format.h"
#include "report/appendix_report.h"
#include "report/main_report.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

using namespace veltron;

namespace {

// The engine's test substances with toluene for the adjacent blocks and a
// mixture whose Antoine divisor vanishes at 20 °C.
calc::MemoryReference reference()
{
    calc::MemoryReference ref = calc::testing::makeReference();
    calc::SubstData toluene = *ref.substance(QStringLiteral("Гексан"));
    toluene.Name = QStringLiteral("Толуол");
    toluene.Mol_massa = 92.14;
    toluene.T_kip = 110.6;
    toluene.Tepl_sgorPGF = 40530;
    toluene.Tepl_paroobr = 360;
    toluene.Teploem_GF = 1.71;
    ref.addSubstance(toluene);
    calc::SubstData mixture = *ref.substance(QStringLiteral("Гексан"));
    mixture.Name = QStringLiteral("Смесь");
    mixture.pCa = -20;
    ref.addSubstance(mixture);
    return ref;
}

// A vessel of superheated hexane spilling onto concrete outdoors: formula
// 3.1, formula 12, Antoine's formula.
records::CalculationInputs vessel()
{
    records::CalculationInputs in;
    in.calculation = {7, QStringLiteral("Установка гидроочистки")};
    records::ConditionTexts& c = in.conditions;
    c.Name_poverhn = QStringLiteral("Бетон");
    c.Koef_teplopr = QStringLiteral("1,5");
    c.c = QStringLiteral("0,84");
    c.p = QStringLiteral("2000");
    c.t_kontakt = QStringLiteral("3600");
    c.S_kontakt = QStringLiteral("100");
    c.S_G = QStringLiteral("80");
    in.settings.Pn = 3;
    records::Block b;
    b.Id = 1;
    b.Name_blok = QStringLiteral("Емкость Е-1");
    b.Name = QStringLiteral("Гексан");
    b.V_GF = 10;
    b.V_PGF = 5;
    b.Davl = 0.5;
    b.Temp = 90;
    b.Plotn_GF = 650;
    b.Plotn_PGF = 2.5;
    b.Adiab = 1.1;
    in.main = b;
    return in;
}

records::Block adjacentBlock(int id)
{
    records::Block b;
    b.Id = id;
    b.Name_blok = QStringLiteral("Колонна К-%1").arg(id);
    b.Name = QStringLiteral("Толуол");
    b.V_GF = 1;
    b.V_PGF = 2;
    b.Davl = 0.6;
    b.Temp = 130;
    b.Plotn_GF = 780;
    b.Plotn_PGF = 3;
    b.Adiab = 1.1;
    b.S_sech = 0.001;
    b.Sk_teploper_GG = 10;
    b.Sk_teploper_GF = 20;
    b.Koef_gidro = 0.6;
    b.t = 60;
    b.t_P = 30;
    b.t_T = 40;
    b.pVist = 1000;
    b.pVistG = 100;
    return b;
}

records::CalculationInputs withAdjacent(int count)
{
    records::CalculationInputs in = vessel();
    for (int i = 0; i < count; ++i)
        in.adjacent << adjacentBlock(i + 2);
    return in;
}

// The report of a run of the inputs, laid out as it is saved.
struct Made {
    report::MainReportData data;
    docx::Document doc;
    QByteArray xml;

    QString text(const char* bookmark) const { return doc.bookmarkText(QString::fromLatin1(bookmark)).trimmed(); }
};

report::MainReportData dataOf(const records::CalculationInputs& inputs, NyuMemory nyu = {})
{
    const auto engineInputs = std::get<calc::RunInputs>(records::runInputsOf(inputs));
    const calc::RunOutcome outcome = calc::run(engineInputs, reference());
    if (const auto* stop = std::get_if<calc::Stop>(&outcome))
        throw std::runtime_error(stop->message.toStdString());
    const auto& result = std::get<calc::RaschResult>(outcome);
    return {inputs, result, report::buildResultsView(result, inputs), nyu};
}

Made make(const records::CalculationInputs& inputs, NyuMemory nyu = {})
{
    report::MainReportData data = dataOf(inputs, nyu);
    docx::Document doc = report::assembleMainReport(data);
    QByteArray xml = doc.documentXml();
    return {std::move(data), std::move(doc), std::move(xml)};
}

// What stands inside a place of the template, block by block: paragraph
// texts and tables (rows of cell texts).
struct Place {
    QStringList paragraphs;
    QList<QList<QStringList>> tables;

    // Column 3 of a fragment's table, from row 2 down.
    QStringList values(int table) const
    {
        QStringList out;
        for (int r = 1; r < tables.value(table).size(); ++r)
            out << tables[table][r].value(2);
        return out;
    }
};

QString textOf(pugi::xml_node node)
{
    QString text;
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
        const QByteArray name = c.name();
        if (name == "w:t")
            text += QString::fromUtf8(c.text().get());
        else if (name == "w:br")
            text += QLatin1Char('\n');
        else
            text += textOf(c);
    }
    return text;
}

Place placeOf(const Made& made, const char* bookmark)
{
    auto xml = test::parseXml(made.xml);
    const pugi::xml_node body = xml->document_element().child("w:body");
    const auto topLevel = [&](pugi::xml_node n) {
        while (n && n.parent() != body)
            n = n.parent();
        return n;
    };
    const pugi::xml_node start =
        xml->select_node((std::string("//w:bookmarkStart[@w:name='") + bookmark + "']").c_str()).node();
    const std::string id = start.attribute("w:id").value();
    const pugi::xml_node end = xml->select_node(("//w:bookmarkEnd[@w:id='" + id + "']").c_str()).node();
    Place place;
    for (pugi::xml_node n = topLevel(start); n; n = n.next_sibling()) {
        if (QByteArray(n.name()) == "w:tbl") {
            QList<QStringList> rows;
            for (pugi::xml_node tr = n.child("w:tr"); tr; tr = tr.next_sibling("w:tr")) {
                QStringList cells;
                for (pugi::xml_node tc = tr.child("w:tc"); tc; tc = tc.next_sibling("w:tc"))
                    cells << textOf(tc);
                rows << cells;
            }
            place.tables << rows;
        } else if (QByteArray(n.name()) == "w:p" && !textOf(n).isEmpty()) {
            place.paragraphs << textOf(n);
        }
        if (n == topLevel(end))
            break;
    }
    return place;
}

const QString kNotUsed = QStringLiteral("не используется в расчете");

}  // namespace

TEST(MainReport, WithoutAdjacentBlocksTheSentencesStandInsteadOfFragments)
{
    const Made made = make(vessel());
    const calc::RaschResult& r = made.data.result;

    EXPECT_TRUE(placeOf(made, "Begin2").tables.isEmpty());
    EXPECT_EQ(made.text("Begin2"), QString());
    EXPECT_EQ(made.text("Metka7"),
              QStringLiteral("В расчете смежных блоков нет. Энергия сгорания ПГФ, поступившей к "
                             "разгерметизированному участку от смежных объектов (блоков) не рассчитывается - Е2'=0."));
    EXPECT_EQ(made.text("Metka9"),
              QStringLiteral("В расчете смежных блоков нет. Энергия сгорания ПГФ, образующейся за счет энергии "
                             "перегретой ЖФ поступившей от смежных объектов (блоков) не рассчитывается."));
    EXPECT_EQ(made.text("Metka10"),
              QStringLiteral("В расчете смежных блоков нет. Энергия сгорания ПГФ, образующейся из ЖФ за счет тепла "
                             "экзотермических реакций, не прекращающихся при разгерметизации, не рассчитывается."));
    EXPECT_EQ(made.text("Metka11"),
              QStringLiteral("Теплоприток от внешних теплоносителей отсутствует. Энергии сгорания ПГФ, образующейся "
                             "из ЖФ за счет теплопритока от внешних теплоносителей, не рассчитывается."));

    const struct {
        const char* bookmark;
        QList<QStringList> rows;
    } details[] = {
        {"tabwGE2", {{"№ блока", "Значение E2'"}, {"Общая", "0"}}},
        {"tabwGE1", {{"№ блока", "Значение E1\""}, {"1", report::FormatDetail(r.E21own)},
                     {"Общая", report::FormatDetail(r.E21)}}},
        {"tabwGE22", {{"№ блока", "Значение E2\""}, {"Общая", "0"}}},
        {"tabwGE23", {{"№ блока", "Значение E3\""}, {"Общая", "0"}}},
    };
    for (const auto& d : details)
        EXPECT_EQ(placeOf(made, d.bookmark).tables, QList<QList<QStringList>>{d.rows}) << d.bookmark;
    ASSERT_GT(r.E21own, 0);

    // The calculated block's own liquid, the substance and the conditions.
    const Place own = placeOf(made, "Metka8");
    EXPECT_EQ(own.paragraphs.value(0), QStringLiteral("Основной блок №1 (i=1) - Емкость Е-1"));
    EXPECT_EQ(own.values(0), (QStringList{"2,200", "22,000", "335,000", "44665,000", "6500,000"}));
    const Place general = placeOf(made, "Begin");
    EXPECT_EQ(general.paragraphs.mid(0, 3),
              (QStringList{"РЕЗУЛЬТАТЫ РАСЧЕТА  \"Установка гидроочистки\"", "Общая информация о месте размещения блока:",
                           "Время контакта жидкости с поверхностью пролива, принимаемое в расчет, с 3600"}));
    EXPECT_TRUE(general.paragraphs.contains(QStringLiteral("Тип пространства: открытое (незагроможденное). "
                                                           "Формирование парогазовых взрывоопасных зон производится "
                                                           "вне помещения.")));
    ASSERT_EQ(general.tables.size(), 1);
    EXPECT_EQ(general.tables[0][1], (QStringList{"Гексан", "86,000", "68,000", "44665,000", "45000,000", "335,000",
                                                 "2,200"}));
    const Place block = placeOf(made, "Begin1");
    ASSERT_EQ(block.tables.size(), 1);
    EXPECT_EQ(block.tables[0][1], (QStringList{"Емкость Е-1", "Гексан", "10", "5", "0,5", "90", "650", "2,5", "1,1",
                                               "0", "0"}));
}

TEST(MainReport, TwoAdjacentBlocksGetTheirOwnCopiesInAscendingOrder)
{
    const Made made = make(withAdjacent(2));
    const calc::RaschResult& r = made.data.result;

    const Place table = placeOf(made, "Begin2");
    ASSERT_EQ(table.tables.size(), 1);
    ASSERT_EQ(table.tables[0].size(), 3);
    EXPECT_EQ(table.tables[0][0].size(), 19);
    EXPECT_EQ(table.tables[0][0].last(), QStringLiteral("Значение 1"));
    EXPECT_EQ(table.tables[0][2].mid(0, 3), (QStringList{"3", "Колонна К-3", "Толуол"}));
    EXPECT_EQ(table.paragraphs.last(), QStringLiteral("Информация о смежных блоках"));

    const QStringList headings = {QStringLiteral("Смежный блок № 2 (i=2) - Колонна К-2"),
                                  QStringLiteral("Смежный блок № 3 (i=3) - Колонна К-3")};
    for (const char* place : {"Metka7", "Metka9", "Metka10", "Metka11"}) {
        const Place p = placeOf(made, place);
        EXPECT_EQ(p.tables.size(), 2) << place;
        QStringList found;
        for (const QString& paragraph : p.paragraphs)
            if (paragraph.startsWith(QStringLiteral("Смежный блок")))
                found << paragraph;
        EXPECT_EQ(found, headings) << place;
    }

    // Each block with its own substance and its own share.
    const Place liquid = placeOf(made, "Metka9");
    const calc::AdjacentResult& b2 = r.adjacent[0];
    EXPECT_EQ(liquid.values(0).mid(0, 4), (QStringList{"1,710", "19,400", "360,000", "40170,000"}));
    EXPECT_EQ(liquid.values(0).value(9), QStringLiteral("4,99E-01"));  // P − P0
    EXPECT_EQ(liquid.values(0).value(10), report::FormatResult(b2.g21));
    EXPECT_EQ(placeOf(made, "Metka10").values(1), (QStringList{"40530,000", "360,000", "10,000", "30,000"}));

    const Place e1 = placeOf(made, "tabwGE1");
    ASSERT_EQ(e1.tables.size(), 1);
    EXPECT_EQ(e1.tables[0],
              (QList<QStringList>{{"№ блока", "Значение E1\""},
                                  {"1", report::FormatDetail(r.E21own)},
                                  {"2", report::FormatDetail(r.adjacent[0].e21)},
                                  {"3", report::FormatDetail(r.adjacent[1].e21)},
                                  {"Общая", report::FormatDetail(r.E21)}}));
    EXPECT_EQ(placeOf(made, "tabwGE23").tables.value(0),
              (QList<QStringList>{{"№ блока", "Значение E3\""},
                                  {"2", report::FormatDetail(r.adjacent[0].e23)},
                                  {"3", report::FormatDetail(r.adjacent[1].e23)},
                                  {"Общая", report::FormatDetail(r.E23)}}));
    ASSERT_GT(r.adjacent[1].e23, 0);
    // Every table, with the fragments' own, keeps its rows whole and repeats its header.
    EXPECT_EQ(test::tablesThatBreakBadly(made.xml), QStringList());
}

TEST(MainReport, AdjacentBlocksOfAlternatingSubstancesEachShowTheirOwn)
{
    records::CalculationInputs in = withAdjacent(3);
    in.adjacent[1].Name = QStringLiteral("Гексан");
    const Made made = make(in);
    const calc::MemoryReference ref = reference();
    const QString names[] = {"Толуол", "Гексан", "Толуол"};
    for (int i = 0; i < 3; ++i) {
        const calc::SubstData s = *ref.substance(names[i]);
        EXPECT_EQ(placeOf(made, "Metka9").values(i).mid(0, 4),
                  (QStringList{report::FormatResult(s.Teploem_GF), report::FormatResult(130 - s.T_kip),
                               report::FormatResult(s.Tepl_paroobr), report::FormatResult(s.qGF())}))
            << names[i].toStdString();
        EXPECT_EQ(placeOf(made, "Metka7").values(i).value(8), report::FormatResult(s.Tepl_sgorPGF)) << i;
    }
}

TEST(MainReport, EachAdjacentBlockShowsWhereItsVapourSpeedComesFrom)
{
    records::CalculationInputs in = withAdjacent(4);
    in.adjacent[0].pVist = 300;      // the largest speed limits the computed one
    in.adjacent[2].Davl = 0.15;      // below 0.07 MPa over the atmosphere
    in.adjacent[3].pVist_zad = 250;  // typed
    const Made made = make(in);
    const Place vapour = placeOf(made, "Metka7");
    ASSERT_EQ(vapour.tables.size(), 4);
    const calc::RaschResult& r = made.data.result;
    const QString notes[] = {"\n (по максимальной)", "\n(ф-6.1)", "\n(ф-6.3)", "\n(вручную)"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(vapour.values(i).value(5), report::FormatResult(r.adjacent[std::size_t(i)].w12) + notes[i]) << i;
    EXPECT_EQ(vapour.values(0).mid(0, 5), (QStringList{"1,100", "0,600", "0,1013", "3,000", "3,33E-01"}));
    EXPECT_EQ(vapour.values(3).value(9), report::FormatResult(r.adjacent[3].g12));
}

TEST(MainReport, PressureTimesVolumeDecidesAboutTheAdiabaticWork)
{
    const struct {
        double V;
        const char* sign;
        const char* clause;
    } cases[] = {
        {0.04, ">", "расчет осуществляется согласно формулам 3.1 или 3.2"},
        {0.039, "<", "энергию адиабатического расширения ПГФ ввиду малых ее значений в расчет можно не принимать"},
    };
    for (const auto& c : cases) {
        records::CalculationInputs in = vessel();
        in.main->V_PGF = c.V;
        const Made made = make(in);
        EXPECT_EQ(made.text("mPVzn1"), QString::fromLatin1(c.sign)) << c.V;
        EXPECT_EQ(made.text("Metka6"), QString::fromUtf8(c.clause)) << c.V;
        EXPECT_EQ(made.text("mPzn1"), QStringLiteral(">"));
        EXPECT_EQ(made.text("mdeltPV1"), report::FormatResult(0.5 * c.V));
    }
}

TEST(MainReport, NothingToBurnWritesZerosAndFormula19)
{
    records::CalculationInputs in = vessel();
    in.main->Name = QStringLiteral("Азот");
    in.main->V_PGF = 0;
    in.main->V_GF = 0;
    in.settings.Pn = 1;
    const Made made = make(in);
    ASSERT_EQ(made.data.result.E, 0);
    for (const char* b : {"mtE11", "mtE12", "mtE21", "mtE22", "mtE23", "mtE24", "mtEp", "A", "E1", "E4", "mE11", "mA",
                          "mGq", "mE12", "mE24", "mm", "mQv", "Q", "Q1"})
        EXPECT_EQ(made.text(b), QStringLiteral("0")) << b;
    for (const char* b : {"E", "E_1", "E_2", "m", "m1"})
        EXPECT_EQ(made.text(b), QStringLiteral("0,00")) << b;
    EXPECT_EQ(made.text("Metka14"), QStringLiteral("В текущем расчете используется формула 19.1, так как для "
                                                   "\"Азот\" удельная теплота сгорания равна 0 кДж/кг."));
}

TEST(MainReport, SaturatedPressureFromTwoDecimalsToTheExponentForm)
{
    for (const auto& [typed, shown] : {std::pair{"12,5", "12,50"}, std::pair{"0,5", "0,500"}}) {
        records::CalculationInputs in = vessel();
        in.conditions.Check4 = true;
        in.conditions.txtPn1 = QString::fromLatin1(typed);
        const Made made = make(in);
        EXPECT_EQ(made.text("mPn"), QString::fromUtf8(shown));
        EXPECT_EQ(made.text("Pn"), QString::fromUtf8(shown));
        EXPECT_TRUE(made.text("Metka1").endsWith(QStringLiteral("Pн=") + QString::fromLatin1(typed)
                                                 + QStringLiteral(" кПа (введено пользователем вручную).")));
    }
}

TEST(MainReport, BlockTemperatureInKelvin)
{
    records::CalculationInputs in = vessel();
    in.main->Temp = 25;
    in.settings.Pn = 1;
    const Made made = make(in);
    EXPECT_EQ(made.text("mT1"), QStringLiteral("298"));
    EXPECT_EQ(made.text("mT11"), QStringLiteral("298"));
    EXPECT_EQ(made.text("mT1_1"), QStringLiteral("298,150"));
    EXPECT_EQ(made.text("mP0_1"), QStringLiteral("1,01E-01"));
    EXPECT_EQ(made.text("mRn_1"), QStringLiteral("8314,000"));
    EXPECT_TRUE(made.text("Metka1").startsWith(QStringLiteral(
        "Давление насыщенного пара при регламентной температуре в аппарате на момент разрушения рассчитывается по "
        "формуле (14.2), Pн=")));
}

TEST(MainReport, Formula16LeavesTheSaturatedPressureOut)
{
    records::CalculationInputs in = vessel();
    in.settings.G = 1;
    const Made made = make(in);
    EXPECT_EQ(made.text("Metka1"), QStringLiteral("В расчете значение давления насыщенного пара не используется."));
    EXPECT_EQ(made.text("Metka2"), QStringLiteral("Расчет производится по формуле 16."));
    EXPECT_EQ(made.text("mGs"), QStringLiteral("10"));
}

TEST(MainReport, SurfaceTemperatureChoosesTheEvaporationFragment)
{
    records::CalculationInputs in = vessel();
    in.conditions.Tempp = QStringLiteral("68");  // the boiling point
    const Made hot = make(in);
    const calc::RaschResult& r = hot.data.result;
    const Place surface = placeOf(hot, "Metka12");
    ASSERT_EQ(surface.tables.size(), 1);
    EXPECT_EQ(surface.values(0), (QStringList{"341,150", "341,150", "1,5", "2000", "0,84", report::FormatResult(r.Eps),
                                              "100", "80", QString::number(r.Tau), report::FormatResult(r.G4)}));

    in.conditions.Tempp = QStringLiteral("67");
    const Made cold = make(in);
    EXPECT_TRUE(placeOf(cold, "Metka12").tables.isEmpty());
    EXPECT_EQ(cold.text("mTp_G4"), QStringLiteral("340,150"));
    EXPECT_EQ(cold.text("mTkip_G4"), QStringLiteral("341,150"));
}

TEST(MainReport, VapourMassEnteredByHand)
{
    records::CalculationInputs in = vessel();
    in.main->G1 = 1;
    in.main->znG1 = 50;
    in.main->Temp = 0;  // a block at 0 °C can only be run with its mass entered
    const Made made = make(in);
    EXPECT_EQ(made.text("G"), QStringLiteral("50,00 (вручную)"));
    EXPECT_EQ(made.text("mG11"), QStringLiteral("50,000 (вручную)"));
    EXPECT_EQ(made.text("mG1"), QStringLiteral("50,000 (вручную)"));
    EXPECT_EQ(made.text("m3G11"), QStringLiteral("50,000"));
    for (const char* b : {"mPl0", "mV", "m3V0", "m3V01"})
        EXPECT_EQ(made.text(b), kNotUsed) << b;
}

TEST(MainReport, AdjacentLiquidMassEnteredByHand)
{
    records::CalculationInputs in = withAdjacent(2);
    in.adjacent[1].G2 = 1;
    in.adjacent[1].znG2 = 300;
    const Made made = make(in);
    const Place liquid = placeOf(made, "Metka9");
    ASSERT_EQ(liquid.tables.size(), 2);
    const QStringList rows = liquid.values(1);
    EXPECT_EQ(rows.mid(0, 4), liquid.values(0).mid(0, 4));
    EXPECT_EQ(rows.mid(4, 6), QStringList(6, kNotUsed));
    EXPECT_EQ(rows.value(10), QStringLiteral("300,000 (вручную)"));
    EXPECT_NE(liquid.values(0).value(4), kNotUsed);
}

TEST(MainReport, EachHeatInflowCodePicksItsFragment)
{
    records::CalculationInputs in = withAdjacent(4);
    for (int i = 0; i < 4; ++i) {
        in.adjacent[i].formula = i;
        in.adjacent[i].per1 = 2;
        in.adjacent[i].per2 = 5;
        in.adjacent[i].per3 = 7;
    }
    const Made made = make(in);
    const Place inflow = placeOf(made, "Metka11");
    ASSERT_EQ(inflow.tables.size(), 4);
    const QList<QStringList> expected = {
        {"40530,000", "360,000", "20,000\n(ручной ввод)", "40,000"},
        {"40530,000", "360,000", "2,000", "5,000", "7,000", "20,000\n(ф-10.1)", "40,000"},
        {"40530,000", "360,000", "7,000", "2,000", "5,000", "20,000\n(ф-10.2)", "40,000"},
        {"40530,000", "360,000", "2,000", "5,000", "20,000\n(ф-10.3)", "40,000"},
    };
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(inflow.values(i), expected[i]) << "code " << i;
    QStringList captions;
    for (const QString& p : inflow.paragraphs)
        if (p.startsWith(QStringLiteral("Энергия сгорания")))
            captions << p.mid(p.lastIndexOf(QLatin1Char(',')) + 2);
    EXPECT_EQ(captions, (QStringList{"скорость теплопритока задана вручную)", "скорость теплопритока по формуле (10.1))",
                                     "скорость теплопритока по формуле (10.2))",
                                     "скорость теплопритока по формуле (10.3))"}));
}

TEST(MainReport, QuotientsWithoutADivisorAreADash)
{
    records::CalculationInputs in = vessel();
    in.conditions.S_G = QStringLiteral("0");
    in.main->Name = QStringLiteral("Смесь");
    in.main->Temp = 25;
    in.conditions.Check4 = true;  // the design temperature 20 °C would divide by zero in the run
    in.conditions.txtPn1 = QStringLiteral("30");
    const Made made = make(in);
    EXPECT_EQ(made.text("mFpg"), QStringLiteral("—"));
    EXPECT_EQ(made.text("mRez_1"), QStringLiteral("—"));
    EXPECT_EQ(made.text("mRez_2"), QStringLiteral("—"));
    EXPECT_EQ(made.text("mName_1"), QStringLiteral("Смесь"));
}

TEST(MainReport, AirOfTheRoomComesFromTheEvaporationCalculator)
{
    records::CalculationInputs in = vessel();
    in.conditions.Option3 = false;
    in.conditions.Tempv = QStringLiteral("18");
    const Made room = make(in, NyuMemory{0.5, 25});
    EXPECT_EQ(room.text("mVpotok"), QStringLiteral("0,500"));
    EXPECT_EQ(room.text("mTpom"), QStringLiteral("25,000"));
    EXPECT_TRUE(placeOf(room, "Begin").paragraphs.contains(
        QStringLiteral("Тип пространства: закрытое. Формирование парогазовых взрывоопасных зон производится в "
                       "помещении.")));
    // A program whose calculator was never opened.
    EXPECT_EQ(make(in).text("mVpotok"), QStringLiteral("0"));

    in.conditions.Option3 = true;
    const Made outdoors = make(in, NyuMemory{0.5, 25});
    EXPECT_EQ(outdoors.text("mTpom"), QStringLiteral("18"));
    EXPECT_FALSE(outdoors.doc.hasBookmark(QStringLiteral("mVpotok")));
}

TEST(MainReport, FormulaOfTheWorkOfExpansion)
{
    records::CalculationInputs in = vessel();
    const Made by31 = make(in);
    EXPECT_EQ(by31.text("m4P"), QStringLiteral("0,5"));
    EXPECT_EQ(by31.text("m4K2"), QStringLiteral("1,1"));
    EXPECT_EQ(by31.text("m4A"), report::FormatResult(by31.data.result.A));
    EXPECT_EQ(by31.text("Metka5"), QString());

    in.settings.A = 1;
    const Made by32 = make(in);
    EXPECT_EQ(by32.text("Betta"), QStringLiteral("1,000"));
    EXPECT_EQ(by32.text("m4Betta"), QStringLiteral("1,000"));
    EXPECT_EQ(by32.text("mk"), QStringLiteral("1,100"));
    EXPECT_FALSE(by32.doc.hasBookmark(QStringLiteral("m4K")));
}

TEST(MainReport, BookmarksKeepTheirNamesAndTheirTexts)
{
    const Made made = make(withAdjacent(3));
    EXPECT_EQ(test::soundnessProblems(made.xml), QStringList());
    const QStringList names = made.doc.bookmarkNames();
    const docx::Document blank =
        docx::Document::open(QDir(test::templatesDir()).filePath(QStringLiteral("otchet_veltron_pril2.docx")));
    for (const QString& name : blank.bookmarkNames())
        EXPECT_EQ(names.count(name), 1) << name.toStdString();
    // Fragments inserted once keep the names of their bookmarks.
    for (const char* name : {"m3V0", "m4A", "mPn_1", "mRez_1", "mTpom", "mFpg"})
        EXPECT_EQ(names.count(QString::fromLatin1(name)), 1) << name;

    const calc::RaschResult& r = made.data.result;
    EXPECT_EQ(made.text("mE"), report::FormatResult(r.E));
    EXPECT_EQ(made.text("E"), report::formatFixed(r.E, 2));
    EXPECT_EQ(made.text("Kategor"), r.Zn_kategor);
    EXPECT_EQ(made.text("Name1"), QStringLiteral("Емкость Е-1"));
    EXPECT_EQ(made.text("mPn1"), report::FormatResult(r.PnT / 1000) + QStringLiteral(" (расчетная)"));
    EXPECT_EQ(made.text("mTau_max"), made.data.view.txtTau_max);

    // The same run gives the same document.
    EXPECT_EQ(report::buildMainReport(made.data), report::buildMainReport(made.data));
}

TEST(MainReport, AMissingFragmentOrTemplateIsNamed)
{
    test::TempFolder folder;
    for (const QString& file : QDir(test::templatesDir()).entryList({QStringLiteral("*.docx")}))
        if (file != QLatin1String("Metka9.docx"))
            QFile::copy(QDir(test::templatesDir()).filePath(file), folder.file(file));
    const report::MainReportData data = dataOf(withAdjacent(1));
    const QByteArray saved = qgetenv("VELTRON_TEMPLATES");
    const auto messageOf = [&] {
        try {
            report::buildMainReport(data);
        } catch (const docx::DocxError& e) {
            return e.message();
        }
        return QString();
    };
    qputenv("VELTRON_TEMPLATES", folder.path().toUtf8());
    const QString fragment = messageOf();
    QFile::remove(folder.file(QStringLiteral("otchet_veltron_pril2.docx")));
    const QString main = messageOf();
    qputenv("VELTRON_TEMPLATES", saved);
    EXPECT_TRUE(fragment.contains(QStringLiteral("Metka9.docx"))) << fragment.toStdString();
    EXPECT_TRUE(main.contains(QStringLiteral("otchet_veltron_pril2.docx"))) << main.toStdString();
}

using OfficeSuite = test::OfficeSuite;

// Three adjacent blocks with every kind of fragment, as an office suite
// prints them; VELTRON_DOCX_KEEP keeps the document and its PDF for a look.
TEST_F(OfficeSuite, PrintsTheMainReportWithThreeAdjacentBlocks)
{
    records::CalculationInputs in = withAdjacent(3);
    in.adjacent[0].formula = 1;
    in.adjacent[0].per1 = 0.5;
    in.adjacent[0].per2 = 12;
    in.adjacent[0].per3 = 30;
    in.adjacent[0].Sk_teploper_GF = 0.5 * 12 * 30;
    in.adjacent[1].formula = 3;
    in.adjacent[1].per1 = 0.2;
    in.adjacent[1].per2 = 2100;
    in.adjacent[1].Sk_teploper_GF = 0.2 * 2100;
    in.adjacent[2].G2 = 1;
    in.adjacent[2].znG2 = 300;
    in.conditions.Tempp = QStringLiteral("75");
    const report::MainReportData data = dataOf(in);
    const QString path = folder.file(QStringLiteral("otchet_pril2_3.docx"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(report::buildMainReport(data));
    }
    const QString pdf = test::convertToPdf(path, folder.path());
    test::keep(path);
    test::keep(pdf);
    const QString text = test::pdfText(pdf);
    const calc::RaschResult& r = data.result;
    EXPECT_EQ(test::notWhole(text, {"Смежный блок № 2 (i=2) - Колонна К-2", "Смежный блок № 4 (i=4) - Колонна К-4",
                                    "(ф-10.1)", "(ф-10.3)", "300,000 (вручную)", report::FormatResult(r.E),
                                    report::formatFixed(r.m, 2), report::FormatResult(r.G4), "Значение E3\"",
                                    "Общая", "\"Установка гидроочистки\""}),
              QStringList())
        << text.toStdString();
    const qsizetype second = text.indexOf(QStringLiteral("Смежный блок № 2"));
    EXPECT_LT(second, text.indexOf(QStringLiteral("Смежный блок № 3")));
    EXPECT_LT(text.indexOf(QStringLiteral("Смежный блок № 3")), text.indexOf(QStringLiteral("Смежный блок № 4")));
}

// Formula (4) with absolute temperatures at 150 °C: the fragment prints the
// run's own V0′, and V0′·ρ′ in the printed digits is the printed G1′.
TEST(MainReport, VapourMassAt150DegreesIsReducedWithAbsoluteTemperatures)
{
    records::CalculationInputs in = vessel();
    in.main->Temp = 150;
    const Made made = make(in);
    const calc::RaschResult& r = made.data.result;
    EXPECT_EQ(made.text("m3V0"), QStringLiteral("17,097"));
    EXPECT_EQ(made.text("m3V01"), QStringLiteral("17,097"));
    EXPECT_EQ(made.text("m3V0"), report::FormatResult(r.V0));
    EXPECT_EQ(made.text("m3T1"), QStringLiteral("423,150"));
    EXPECT_EQ(made.text("m3T11"), QStringLiteral("150"));
    EXPECT_EQ(made.text("m3G11"), QStringLiteral("42,743"));
    const double printed = *calc::parseNumber(made.text("m3V01")) * *calc::parseNumber(made.text("m3R0"));
    EXPECT_EQ(report::FormatResult(printed), made.text("m3G11"));

    const QStringList fragment = placeOf(made, "Metka3").paragraphs;
    EXPECT_TRUE(fragment.contains(QStringLiteral("V0′ = V′·(P/P0)·(T0/T) = 5·(0,5/0,1013)·(293,15/423,150) = 17,097 м³,")))
        << fragment.join('\n').toStdString();
    EXPECT_TRUE(fragment.join('\n').contains(QStringLiteral("T0 = 293,15 К (20 °C)")));
    // The legend of formula (4) in the template says the same.
    const QString legend = QString::fromUtf8(made.xml);
    EXPECT_TRUE(legend.contains(QStringLiteral("= 293,15 К — нормальная температура (20 °C); T = t + 273,15")));
    EXPECT_FALSE(legend.contains(QStringLiteral("= 20 °C — нормальная температура")));
}

// Formula 14.2 below the boiling point gives no saturated vapour pressure: the
// main report says why W is 0 where it prints W, the appendix where it prints
// the mass m, both in the words of the results screen.
TEST(MainReport, BothReportsSayWhyTheIntensityIsZero)
{
    records::CalculationInputs in = vessel();
    in.main->Temp = 20;
    in.settings.Pn = 1;
    const Made made = make(in);
    const calc::RaschResult& r = made.data.result;
    ASSERT_FALSE(calc::pnNote(r).isEmpty());
    ASSERT_EQ(r.W, 0);
    EXPECT_EQ(made.data.view.PnNote, calc::pnNote(r));
    EXPECT_EQ(made.text("MetkaW"), calc::pnNote(r));
    EXPECT_EQ(made.text("mmi"), QStringLiteral("0"));
    const QString see = QStringLiteral("0 (давление насыщенного пара не определено, см. п. 8.3)");
    EXPECT_EQ(made.text("mi_1"), see);
    EXPECT_EQ(made.text("mi"), see);
    EXPECT_EQ(placeOf(made, "Metka13").values(0).value(10), see);

    test::TempFolder dir;
    report::AppendixData appendix;
    appendix.result = r;
    appendix.view = made.data.view;
    appendix.z = 0.1;
    appendix.blockName = QStringLiteral("Емкость Е-1");
    const QString path = dir.file(QStringLiteral("pril3.docx"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(report::buildAppendixReport(appendix));
    f.close();
    EXPECT_EQ(docx::Document::open(path).bookmarkText(QStringLiteral("MetkaW")).trimmed(), calc::pnNote(r));

    // Antoine's formula gives the pressure: no note, and no empty line for it.
    in.settings.Pn = 3;
    const Made antoine = make(in);
    EXPECT_GT(antoine.data.result.W, 0);
    EXPECT_EQ(antoine.text("MetkaW"), QString());
    EXPECT_EQ(antoine.text("mi_1"), report::FormatResult(antoine.data.result.W));
    appendix.result = antoine.data.result;
    f.open(QIODevice::WriteOnly);
    f.write(report::buildAppendixReport(appendix));
    f.close();
    EXPECT_EQ(docx::Document::open(path).bookmarkText(QStringLiteral("MetkaW")), QString());
}
