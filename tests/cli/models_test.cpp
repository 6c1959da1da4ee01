// veltron-cli model2, model3, model4 and their reports, end to end.
#include "cli/cli_support.h"
#include "common/test_support.h"

#include "calc/complex_calculation.h"
#include "db/store.h"
#include "records/calculations.h"
#include "records/complex_rows.h"
#include "report/docx/document.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlRecord>

#include <cmath>

using namespace veltron;

namespace {

class CliModels : public ::testing::Test {
protected:
    QJsonObject json(const QStringList& args)
    {
        const auto r = test::runCli(dir.path(), args);
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        return QJsonDocument::fromJson(r.out.toUtf8()).object();
    }
    // Name_ob and Conc of every journal row, oldest first.
    QStringList journal() const
    {
        QStringList rows;
        auto store = test::openStore(dir.path());
        for (const QSqlRecord& r : store->query("SELECT Name_ob, Conc FROM tabOtchet ORDER BY Date"))
            rows << r.value(0).toString() + "|" + r.value(1).toString();
        return rows;
    }
    test::TempFolder dir;
};

void expectRadii(const QJsonObject& o, double R0, const std::array<double, 5>& radii)
{
    EXPECT_NEAR(o["R0"].toDouble(), R0, 5e-5);
    ASSERT_EQ(o["Rzone"].toArray().size(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_NEAR(o["Rzone"][i].toDouble(), radii[std::size_t(i)], 5e-4) << i;
}

}  // namespace

TEST_F(CliModels, Model2PrintsTheZonesAndJournalsTheBlockAndTheCompound)
{
    const QJsonObject o = json({"model2", "--mass", "100", "--energy", "4520", "--name", "Склад 'Б'", "--compound",
                                "Тротил (тринитротолуол)"});
    EXPECT_EQ(o["Wt"].toDouble(), 100);
    expectRadii(o, 1.4648, {5.566, 8.203, 14.062, 41.015, 82.030});
    EXPECT_EQ(o["formula"].toString(), "22.1");

    // A comma or a point; the mass, not Wt, chooses the formula.
    EXPECT_EQ(json({"model2", "--mass", "5000", "--energy", "4520"})["formula"].toString(), "22.1");
    EXPECT_EQ(json({"model2", "--mass", "5000,1", "--energy", "4520"})["formula"].toString(), "22.2");
    EXPECT_EQ(json({"model2", "--mass", "5000.1", "--energy", "100"})["formula"].toString(), "22.2");
    const QJsonObject zero = json({"model2", "--mass", "0", "--energy", "4520"});
    EXPECT_EQ(zero["Wt"].toDouble(), 0);
    EXPECT_EQ(zero["Rzone"][4].toDouble(), 0);

    EXPECT_EQ(journal(), (QStringList{"Склад 'Б'|Тротил (тринитротолуол)", "|", "|", "|", "|"}));
}

TEST_F(CliModels, Model3UsesTheChosenFormulaAndJournalsTheTextsAsTyped)
{
    expectRadii(json({"model3", "--wt0", "100", "--wt1", "100", "--formula", "22.1"}), 2.3241,
                {8.8317, 13.0151, 22.3116, 65.0754, 130.1507});
    EXPECT_NEAR(json({"model3", "--wt0", "100.0", "--wt1", "100", "--formula", "22.2"})["R0"].toDouble(), 5.8480,
                5e-5);
    const QJsonObject big = json({"model3", "--wt0", "4000", "--wt1", "2000", "--formula", "22.1"});
    EXPECT_EQ(big["formula"].toString(), "22.1");
    EXPECT_LT(big["R0"].toDouble(), std::cbrt(6000.0));
    EXPECT_EQ(journal(), (QStringList{"100+100|Суммарный расчет", "100,0+100|Суммарный расчет",
                                      "4000+2000|Суммарный расчет"}));
}

TEST_F(CliModels, BadArgumentsAreStatus1AndNegativeChargesStatus2WithoutAJournalRow)
{
    const QStringList bad[] = {
        {"model2", "--mass", "100"},
        {"model2", "--mass", "сто", "--energy", "4520"},
        {"model2", "--mass", "100", "--energy", "4520", "--colour", "red"},
        {"model3", "--wt0", "1", "--wt1", "1"},
        {"model3", "--wt0", "1", "--wt1", "1", "--formula", "22.3"},
        {"report", "model3", "--wt0", "1", "--wt1", "1", "--formula", "22.1"},
        {"report", "model2", "--mass", "1", "--energy", "1", "--out", dir.file("x.docx"), "--pressure", "x"},
    };
    for (const QStringList& args : bad) {
        const auto r = test::runCli(dir.path(), args);
        EXPECT_EQ(r.status, 1) << args.join(' ').toStdString();
        EXPECT_FALSE(r.err.isEmpty());
    }
    const auto negative = test::runCli(dir.path(), {"model3", "--wt0", "-5", "--wt1", "1", "--formula", "22.1"});
    EXPECT_EQ(negative.status, 2);
    EXPECT_EQ(QJsonDocument::fromJson(negative.out.toUtf8()).object()["title"].toString(), "Внимание!");
    EXPECT_TRUE(journal().isEmpty());
    EXPECT_FALSE(QFile::exists(dir.file("x.docx")));
}

TEST_F(CliModels, ReportsCarryTheValuesOfTheRun)
{
    const QString tv = dir.file("tv.docx");
    json({"report", "model2", "--mass", "100", "--energy", "4520", "--name", "Склад", "--compound", "Гексоген",
          "--out", tv});
    const auto model2 = docx::Document::open(tv);
    EXPECT_EQ(model2.bookmarkText("Name_blok"), "Склад");
    EXPECT_EQ(model2.bookmarkText("Name2"), "Гексоген");
    EXPECT_EQ(model2.bookmarkText("Wt"), "100,000");
    EXPECT_EQ(model2.bookmarkText("R0"), "1,465");
    EXPECT_EQ(model2.bookmarkText("Metka4"), "(22.1)");
    // The results screen shows its calculator for 5 kPa.
    EXPECT_TRUE(model2.bookmarkText("Begin1").contains("расчет для 5 кПа"));

    const QString summ = dir.file("summ.docx");
    json({"report", "model3", "--wt0", "100.5", "--wt1", "99,5", "--formula", "22.2", "--out", summ, "--pressure",
          "50"});
    const auto model3 = docx::Document::open(summ);
    EXPECT_EQ(model3.bookmarkText("mWt0"), "100,5");
    EXPECT_EQ(model3.bookmarkText("mWt1"), "99,5");
    EXPECT_EQ(model3.bookmarkText("mWt"), "200,000");
    EXPECT_EQ(model3.bookmarkText("Metka4"), "(22.2)");
    EXPECT_TRUE(model3.bookmarkText("Begin1").contains("расчет для 50 кПа"));
    EXPECT_EQ(journal(), (QStringList{"Склад|Гексоген", "100,5+99,5|Суммарный расчет"}));
}

namespace {

// A complex calculation stored with its rows, as the complex calculation screen saves it.
void storeComplex(const QString& dataDir, const QString& name, const QList<calc::BlockEnergies>& rows)
{
    auto store = test::openStore(dataDir);
    const auto c = records::createCalculation(*store, name, records::Kind::Complex);
    if (!rows.isEmpty())
        records::saveComplexRows(*store, c.id, rows);
}

calc::BlockEnergies block(const char* name, double E11, double Wt)
{
    return {QString::fromUtf8(name), E11, 0, 0, 0, 0, 0, Wt};
}

}  // namespace

TEST_F(CliModels, Model4RunsTheStoredRowsAndJournalsEachRunOnce)
{
    storeComplex(dir.path(), "Пустой", {});
    storeComplex(dir.path(), "Мелкие", {block("a", 5e6, 0.03), block("b", 1e6, 0.01)});
    storeComplex(dir.path(), "Ровно 5000", {block("a", 200e6, 100), block("b", 30e6, 0)});
    storeComplex(dir.path(), "Ровно 2000", {block("a", 92e6, 100)});
    storeComplex(dir.path(), "Установка 'А'", {block("Колонна", 300e6, 5000), block("Емкость", 30e6, 1000)});

    const QJsonObject empty = json({"model4", "Пустой"});
    for (const char* key : {"E", "m", "Q", "Wt", "R0"})
        EXPECT_EQ(empty[key].toDouble(-1), 0) << key;
    EXPECT_EQ(empty["Zn_kategor"].toString(), "III");
    EXPECT_EQ(empty["Rzone"].toArray(), QJsonArray({0, 0, 0, 0, 0}));

    const QJsonObject small = json({"model4", "Мелкие"});
    EXPECT_EQ(small["E"].toDouble(), 6e6);
    EXPECT_EQ(small["Wt"].toDouble(-1), 0);
    EXPECT_EQ(small["R0"].toDouble(-1), 0);
    EXPECT_EQ(small["Rzone"].toArray(), QJsonArray({0, 0, 0, 0, 0}));

    const QJsonObject at5000 = json({"model4", "Ровно 5000"});
    EXPECT_EQ(at5000["m"].toDouble(), 5000);
    EXPECT_EQ(at5000["Zn_kategor"].toString(), "II");
    // Formula 22.1 for m = 5000 kg.
    expectRadii(at5000, 1.4648, {5.5663, 8.2030, 14.0623, 41.0151, 82.0303});
    EXPECT_EQ(json({"model4", "Ровно 2000"})["Zn_kategor"].toString(), "II");

    const QJsonObject big = json({"model4", "Установка 'А'"});
    EXPECT_EQ(big["Zn_kategor"].toString(), "I");
    EXPECT_EQ(big["Wt"].toDouble(), 6000);
    EXPECT_NEAR(big["Q"].toDouble(), std::cbrt(330e6) / 16.534, 1e-12);
    expectRadii(big, std::cbrt(6000.0), {69.0506, 101.7588, 174.4436, 508.7938, 1017.5875});
    EXPECT_EQ(journal(), QStringList(5, "Комплексный|"));
}

TEST_F(CliModels, Model4OfAnUnknownNameOrWithoutOneIsStatus1WithoutAJournalRow)
{
    storeComplex(dir.path(), "Есть", {block("a", 1, 1)});
    const auto unknown = test::runCli(dir.path(), {"model4", "Нет такого"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_TRUE(unknown.out.isEmpty());
    EXPECT_EQ(unknown.err.trimmed(), "Комплексный расчет «Нет такого» не найден в базе данных.");
    // A calculation of model I of that name is not a complex one.
    EXPECT_EQ(test::runCli(dir.path(), {"model4", "Пример — резервуар пропана"}).status, 1);
    const QStringList bad[] = {
        {"model4"},
        {"model4", "Есть", "Лишний"},
        {"report", "model4", "Есть"},
        {"report", "model4", "--out", dir.file("x.docx")},
        {"report", "model4", "Нет такого", "--out", dir.file("x.docx")},
        {"report", "model4", "Есть", "--out", dir.file("x.docx"), "--pressure", "много"},
    };
    for (const QStringList& args : bad) {
        const auto r = test::runCli(dir.path(), args);
        EXPECT_EQ(r.status, 1) << args.join(' ').toStdString();
        EXPECT_FALSE(r.err.isEmpty()) << args.join(' ').toStdString();
    }
    EXPECT_TRUE(journal().isEmpty());
    EXPECT_FALSE(QFile::exists(dir.file("x.docx")));
}

TEST_F(CliModels, Model4ReportListsTheRowsInStoredOrderWithTheCalculatorRow)
{
    storeComplex(dir.path(), "Установка", {block("Ёмкость", 30e6, 1000.04), block("Аппарат", 16e6, 2000)});
    const QString kr = dir.file("kr.docx");
    EXPECT_EQ(json({"report", "model4", "Установка", "--out", kr})["file"].toString(), kr);
    const auto doc = docx::Document::open(kr);
    EXPECT_EQ(doc.bookmarkText("Wt"), "3000,0");
    EXPECT_EQ(doc.bookmarkText("E"), "46000000,00");
    EXPECT_EQ(doc.bookmarkText("Kategor"), "III");
    EXPECT_EQ(doc.bookmarkText("Metka4"), "(22.1)");
    EXPECT_EQ(doc.bookmarkText("mR6_inf"), "расчет для 5 кПа");
    const QString rows = doc.bookmarkText("Begin1");
    EXPECT_LT(rows.indexOf("Ёмкость"), rows.indexOf("Аппарат")) << rows.toStdString();
    EXPECT_TRUE(rows.contains("1000,04"));

    json({"report", "model4", "Установка", "--out", kr, "--pressure", "50"});
    EXPECT_EQ(docx::Document::open(kr).bookmarkText("mR6_P"), "50");
    EXPECT_EQ(journal(), QStringList(2, "Комплексный|"));
}

// A run that stops says why on stderr too, not only in its JSON.
TEST_F(CliModels, StoppedRunsSayWhyOnStderr)
{
    const QStringList stops[] = {
        {"model2", "--mass", "-5", "--energy", "4520"},
        {"model3", "--wt0", "-5", "--wt1", "1", "--formula", "22.1"},
        {"report", "model3", "--wt0", "1", "--wt1", "-1", "--formula", "22.2", "--out", dir.file("x.docx")},
    };
    for (const QStringList& args : stops) {
        const auto r = test::runCli(dir.path(), args);
        const QJsonObject stop = QJsonDocument::fromJson(r.out.toUtf8()).object();
        EXPECT_EQ(r.status, 2) << args.join(' ').toStdString();
        EXPECT_FALSE(stop["message"].toString().isEmpty()) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(stop["title"].toString() + ": " + stop["message"].toString()))
            << args.join(' ').toStdString() << ": " << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(dir.file("x.docx")));
}

// The numbers of models II and III do not depend on the journal: when its
// row cannot be written the result is still given, with a warning.
TEST_F(CliModels, ResultIsGivenWhenItsJournalRowCannotBeWritten)
{
    {
        auto store = test::openStore(dir.path());
        test::refuse(*store, "no_journal", "INSERT", "tabOtchet");
    }
    const QString out = dir.file("tv.docx");
    const QStringList runs[] = {
        {"model2", "--mass", "100", "--energy", "4520"},
        {"model3", "--wt0", "100", "--wt1", "100", "--formula", "22.1"},
        {"report", "model2", "--mass", "100", "--energy", "4520", "--out", out},
        {"zone-map", "--model3", "--wt0", "100", "--wt1", "100", "--formula", "22.1", "--out", dir.file("m.svg")},
    };
    for (const QStringList& args : runs) {
        const auto r = test::runCli(dir.path(), args);
        EXPECT_EQ(r.status, 0) << args.join(' ').toStdString() << ": " << r.err.toStdString();
        EXPECT_FALSE(QJsonDocument::fromJson(r.out.toUtf8()).object().isEmpty()) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("расчет выполнен, но его строка не записана в журнал расчетов")))
            << args.join(' ').toStdString() << ": " << r.err.toStdString();
    }
    EXPECT_EQ(QJsonDocument::fromJson(test::runCli(dir.path(), runs[0]).out.toUtf8()).object()["Wt"].toDouble(), 100);
    EXPECT_TRUE(QFile::exists(out));
    EXPECT_TRUE(journal().isEmpty());
}

// A full disk under the store: the run's result and the program's own words,
// never SQLite's English.
TEST(EmbeddedCliModels, FullDiskUnderTheStoreKeepsTheResultAndSaysWhy)
{
    test::TempFolder data, disk;
    test::storeOptions(data.path());
    const QString fill = QStringLiteral("cp '%1/bdVeltron.sqlite' '%1/tabMirvel.sqlite' \"$0\"/ && "
                                        "{ dd if=/dev/zero of=\"$0\"/fill bs=1k 2>/dev/null; true; }")
                             .arg(data.path());
    const auto r = test::runCliOnSmallDisk(disk.path(), 2048, fill,
                                           {"--data", disk.path(), "model2", "--mass", "100", "--energy", "4520"});
    if (!r)
        GTEST_SKIP() << "this system does not let a test mount a small disk (unshare)";
    EXPECT_EQ(r->status, 0) << r->err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(r->out.toUtf8()).object()["Wt"].toDouble(), 100);
    EXPECT_TRUE(r->err.contains(QStringLiteral("На диске не хватает места"))) << r->err.toStdString();
    EXPECT_FALSE(r->err.contains(QStringLiteral("disk is full")) || r->err.contains(QStringLiteral("SAVEPOINT")))
        << r->err.toStdString();
}
