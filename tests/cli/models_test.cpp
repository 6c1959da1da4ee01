// veltron-cli model2, model3 and their reports, end to end.
#include "cli/cli_support.h"
#include "common/test_support.h"

#include "db/store.h"
#include "report/docx/document.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlRecord>

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
