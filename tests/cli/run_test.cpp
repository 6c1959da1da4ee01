// veltron-cli run on a small stored calculation, end to end.
#include "cli/cli_support.h"
#include "common/test_support.h"

#include "calc/engine.h"
#include "db/store.h"
#include "records/blocks.h"
#include "records/calculation_inputs.h"
#include "records/calculations.h"
#include "records/store_reference.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlRecord>

using namespace veltron;

namespace {

// A calculation "Проба CLI": a propane vessel at 1 MPa, 30 °C with one adjacent
// pipe, formula 3.1, formula 12, formula 14.2, z = 0.1.
void storeCalculation(db::Store& store)
{
    store.exec("INSERT INTO tabRasch (Id, Name) VALUES (?, ?)", {7, QStringLiteral("Проба CLI")});
    store.exec("INSERT INTO tabMain (Id, Name_poverhn, t_kontakt, S_kontakt, S_G, Tempv, Tempp, Tg, "
               "nyu, f131, z, znPn, znPn1, Lnkpr, znLnkpr, Uv, opNyu, A, G, Pn) "
               "VALUES (?, ?, 3600, 100, 100, 20, 20, 20, 1, 0, 0.1, 0, 0, 0, 0, 0, 0, 0, 0, 1)",
               {7, QStringLiteral("Бетон")});
    const QString insert = QStringLiteral(
        "INSERT INTO tabBloki (Id_Rasch, Id, Name_blok, Name, V_GF, V_PGF, Davl, Temp, Plotn_GF, "
        "Plotn_PGF, Adiab, S_sech, Sk_teploper_GG, Sk_teploper_GF, Koef_gidro, t, t_P, t_T, pVist, "
        "pVist_zad, pVistG, pVistG_zad, G1, znG1, G2, znG2, mi, pmi) "
        "VALUES (7, ?, ?, 'Пропан', ?, ?, ?, 30, 500, 2, 1.13, ?, 0, 0, 0.6, ?, 0, 0, 340, 0, 340, 0, "
        "0, 0, 0, 0, 0, 0)");
    // stored out of order: the adjacent block first
    store.exec(insert, {2, QStringLiteral("Трубопровод"), 0.1, 0.5, 1.6, 0.001, 5});
    store.exec(insert, {1, QStringLiteral("Емкость"), 2.0, 8.0, 1.0, 0, 0});
}

int journalRows(const db::Store& store)
{
    return store.query("SELECT COUNT(*) FROM tabOtchet").first().value(0).toInt();
}

class CliRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto store = test::openStore(dir);
        storeCalculation(*store);
    }
    test::TempFolder dir;
};

TEST_F(CliRun, PrintsEveryResultFieldAsTheEngineComputesIt)
{
    const int before = journalRows(*test::openStore(dir));
    const auto r = test::runCli(dir.path(), {"run", QStringLiteral("Проба CLI")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    QJsonParseError error;
    const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << r.out.toStdString();

    auto store = test::openStore(dir);
    EXPECT_EQ(journalRows(*store), before + 1);
    const auto journal = store->query("SELECT Name_ob, Conc FROM tabOtchet ORDER BY Date DESC");
    EXPECT_EQ(journal.first().value(0).toString(), QStringLiteral("Проба CLI"));
    EXPECT_EQ(journal.first().value(1).toString(), QStringLiteral("Полный расчет"));

    // By hand: G' = 2 × 8 × (1 / 0.1013) × (293.15 / 303.15) and G'q' with q' of propane.
    const double q = store->query("SELECT Tepl_sgorPGF FROM SubstChar WHERE Name = ?", {QStringLiteral("Пропан")})
                         .first().value(0).toDouble();
    const double G = 2 * 8 * (1 / static_cast<double>(0.1013f)) * (293.15 / 303.15);
    EXPECT_NEAR(o["G"].toDouble(), G, 1e-9 * G);
    EXPECT_NEAR(o["Gq"].toDouble(), G * q, 1e-9 * G * q);
    ASSERT_EQ(o["Rzone"].toArray().size(), 5);

    // The numbers read back to exactly the doubles of the same run in process.
    const auto calculation = records::findByName(*store, QStringLiteral("Проба CLI"));
    ASSERT_TRUE(calculation);
    const auto loaded = std::get<records::CalculationInputs>(records::loadRunnableInputs(*store, *calculation));
    const auto inputs = std::get<calc::RunInputs>(records::runInputsOf(loaded));
    ASSERT_EQ(inputs.adjacent.size(), 1u);
    const records::StoreReference reference(*store);
    const calc::RaschResult res = std::get<calc::RaschResult>(calc::run(inputs, reference));
    const std::pair<const char*, double> fields[] = {
        {"A", res.A},     {"E11", res.E11},     {"E12", res.E12},   {"E21", res.E21},
        {"E24", res.E24}, {"Gs", res.Gs},       {"PnTr", res.PnTr}, {"W", res.W},
        {"E", res.E},     {"m", res.m},         {"Q", res.Q},       {"Wt", res.Wt},
        {"R0", res.R0},   {"Tau_max", res.Tau_max}};
    for (const auto& [name, value] : fields)
        EXPECT_EQ(o[QLatin1String(name)].toDouble(), value) << name;
    EXPECT_EQ(o["Tau"].toInt(), res.Tau);
    EXPECT_EQ(o["Zn_kategor"].toString(), res.Zn_kategor);
    EXPECT_EQ(o["Rzone"].toArray()[4].toDouble(), res.Rzone[4]);

    const QJsonArray adjacent = o["adjacent"].toArray();
    ASSERT_EQ(adjacent.size(), 1);
    const QJsonObject a = adjacent[0].toObject();
    EXPECT_EQ(a["Id"].toInt(), 2);
    for (const char* key : {"w12", "g12", "e12", "w21", "g21", "e21", "e22", "e23"})
        EXPECT_TRUE(a.contains(QLatin1String(key))) << key;
    // critical outflow of the pipe: √(2 × 1.13 / 2.13 × 1.6 × 10^6 / 2), τ = 5 s
    EXPECT_NEAR(a["w12"].toDouble(), std::sqrt(2 * 1.13 / 2.13 * 1.6e6 / 2), 1e-9);
    EXPECT_EQ(a["e12"].toDouble(), res.adjacent[0].e12);
}

TEST_F(CliRun, StopPrintsTitleAndMessageWithStatus2)
{
    {
        auto store = test::openStore(dir);
        store->exec("UPDATE tabBloki SET Adiab = 1 WHERE Id_Rasch = 7 AND Id = 2");
    }
    const auto r = test::runCli(dir.path(), {"run", QStringLiteral("Проба CLI")});
    EXPECT_EQ(r.status, 2);
    const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(o.keys(), (QStringList{"message", "title"}));
    EXPECT_EQ(o["title"].toString(), QStringLiteral("Внимание!"));
    EXPECT_EQ(o["message"].toString(), QStringLiteral("Показатель адиабаты веществ в блоках должен быть > 1!"));
    // said on stderr too, as the other models say their stops
    EXPECT_EQ(r.err, QStringLiteral("Внимание!: Показатель адиабаты веществ в блоках должен быть > 1!\n"));
    // the journal row of the run stays
    EXPECT_EQ(journalRows(*test::openStore(dir)), 1);
}

TEST_F(CliRun, UnknownNameIsStatus1)
{
    const auto r = test::runCli(dir.path(), {"run", QStringLiteral("Нет такого")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("«Нет такого» не найден"))) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
}

TEST_F(CliRun, AllRunsEveryCalculation)
{
    const auto r = test::runCli(dir.path(), {"run", "--all"});
    EXPECT_EQ(r.status, 0) << r.out.toStdString();
    const QJsonArray all = QJsonDocument::fromJson(r.out.toUtf8()).array();
    auto store = test::openStore(dir);
    const int stored = store->query("SELECT COUNT(*) FROM tabRasch").first().value(0).toInt();
    ASSERT_EQ(all.size(), stored);
    QStringList names;
    QJsonObject mine;
    for (const QJsonValue& v : all) {
        names << v.toObject()["Name"].toString();
        if (names.last() == QStringLiteral("Проба CLI"))
            mine = v.toObject();
    }
    EXPECT_TRUE(names.contains(QStringLiteral("Проба CLI")));
    EXPECT_EQ(journalRows(*store), stored);

    // The batch reads the store its own way; the result is the single run's.
    const auto one = test::runCli(dir.path(), {"run", QStringLiteral("Проба CLI")});
    mine.remove(QStringLiteral("Name"));
    EXPECT_EQ(mine, QJsonDocument::fromJson(one.out.toUtf8()).object());
}

// A stored value that is not a number, in any table the run reads, stops
// the run with a message that names the calculation, the block or record
// and the field; nothing is read as 0. A server's number fields hold only
// numbers: there the value is not-a-number.
TEST_F(CliRun, StoredValuesThatAreNoNumbersStopTheRunNamingThem)
{
    const struct {
        const char* table;
        const char* field;
        const char* where;
        std::vector<const char*> says;
        int status;
        int journalRows;  // added by the run
        bool directory;   // a record of a directory, which the stored example uses too
        bool onServer;
    } cases[] = {
        {"tabBloki", "V_GF", "Id_Rasch = 7 AND Id = 1", {"«Проба CLI»", "расчетный блок", "V_GF"}, 2, 0, false, true},
        {"tabBloki", "Davl", "Id_Rasch = 7 AND Id = 2", {"«Проба CLI»", "смежный блок № 2 «Трубопровод»", "Davl"},
         2, 0, false, true},
        {"tabBloki", "G1", "Id_Rasch = 7 AND Id = 2", {"«Проба CLI»", "смежный блок № 2", "G1"}, 2, 0, false, false},
        {"tabMain", "Tempv", "Id = 7", {"«Проба CLI»", "общие условия расчета", "Tempv"}, 2, 0, false, true},
        {"tabMain", "znG4", "Id = 7", {"«Проба CLI»", "общие условия расчета", "znG4"}, 2, 0, false, true},
        {"tabPoverhn", "p", "Name = 'Бетон'", {"«Проба CLI»", "подстилающая поверхность «Бетон»", " p "}, 2, 0, true,
         true},
        {"SubstChar", "T_kip", "Name = 'Пропан'", {"«Проба CLI»", "вещество «Пропан»", "T_kip"}, 2, 1, true, true},
        {"tabBetta", "Betta", "k = (SELECT MIN(k) FROM tabBetta)", {"tabBetta", "Betta"}, 1, 0, true, true},
        {"tabG", "G", "t = (SELECT MIN(t) FROM tabG)", {"tabG", " G "}, 1, 0, true, true},
    };
    const QString bad = test::onServer() ? QStringLiteral("NaN") : QStringLiteral("abc");
    for (const auto& c : cases) {
        if (test::onServer() && !c.onServer)
            continue;
        SCOPED_TRACE(std::string(c.table) + "." + c.field);
        auto store = test::openStore(dir);
        const QString where = QString::fromUtf8(c.where);
        const QVariant was = store->query(QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                                              .arg(QLatin1String(c.field), QLatin1String(c.table), where))
                                 .first().value(0);
        store->exec(QStringLiteral("UPDATE %1 SET %2 = '%3' WHERE %4")
                        .arg(QLatin1String(c.table), QLatin1String(c.field), bad, where));
        const int before = journalRows(*store);

        const auto r = test::runCli(dir.path(), {"run", QStringLiteral("Проба CLI")});
        EXPECT_EQ(r.status, c.status) << r.out.toStdString() << r.err.toStdString();
        const QString message = c.status == 2 ? QJsonDocument::fromJson(r.out.toUtf8()).object()["message"].toString()
                                              : r.err;
        EXPECT_TRUE(message.contains(QStringLiteral("«%1» — это не число").arg(bad))) << message.toStdString();
        for (const char* part : c.says)
            EXPECT_TRUE(message.contains(QString::fromUtf8(part))) << part << ": " << message.toStdString();
        EXPECT_EQ(journalRows(*store), before + c.journalRows);

        if (c.status == 2) {
            // The others run on; the calculations of the record say why they did not.
            const auto all = test::runCli(dir.path(), {"run", "--all"});
            EXPECT_EQ(all.status, 2);
            for (const QJsonValue& v : QJsonDocument::fromJson(all.out.toUtf8()).array()) {
                const QJsonObject o = v.toObject();
                EXPECT_EQ(o.contains("message"), c.directory || o["Name"].toString() == QStringLiteral("Проба CLI"))
                    << o["Name"].toString().toStdString();
            }
        }
        store->exec(QStringLiteral("UPDATE %1 SET %2 = ? WHERE %3")
                        .arg(QLatin1String(c.table), QLatin1String(c.field), where),
                    {was});
    }
    EXPECT_EQ(test::runCli(dir.path(), {"run", QStringLiteral("Проба CLI")}).status, 0);
}

// Many calculations: the array is printed a thousand at a time, each part
// once the journal rows of its runs are stored; a journal that cannot be
// written stops the printing there.
TEST_F(CliRun, AllPrintsManyCalculationsBatchByBatchAfterTheirJournalRows)
{
    auto store = test::openStore(dir);
    const QString copies = QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 100 UNION ALL SELECT i + 1 FROM n "
                                          "WHERE i < 1299) ");
    store->exec(copies + QStringLiteral("INSERT INTO tabRasch (Id, Name) SELECT i, 'Копия ' || i FROM n"));
    store->exec(copies + QStringLiteral("INSERT INTO tabMain (Id, Name_poverhn, t_kontakt, S_kontakt, S_G, Tempv, "
                                        "Tempp, Tg, nyu, f131, z, A, G, Pn) SELECT n.i, Name_poverhn, t_kontakt, "
                                        "S_kontakt, S_G, n.i % 30, Tempp, Tg, nyu, f131, z, A, G, Pn "
                                        "FROM n, tabMain WHERE tabMain.Id = 7"));
    QStringList rest = records::blockColumns();
    rest.removeFirst();  // Id_Rasch
    store->exec(copies + QStringLiteral("INSERT INTO tabBloki (Id_Rasch, %1) SELECT n.i, %1 FROM n, tabBloki "
                                        "WHERE tabBloki.Id_Rasch = 7")
                             .arg(rest.join(", ")));
    QStringList names;
    for (const records::Calculation& c : records::listCalculations(*store))
        names << c.name;
    ASSERT_GT(names.size(), 1000);

    const int before = journalRows(*store);
    const auto all = test::runCli(dir.path(), {"run", "--all"});
    ASSERT_EQ(all.status, 0) << all.err.toStdString();
    const QJsonArray printed = QJsonDocument::fromJson(all.out.toUtf8()).array();
    QStringList printedNames;
    for (const QJsonValue& v : printed)
        printedNames << v.toObject()["Name"].toString();
    EXPECT_EQ(printedNames, names);
    EXPECT_EQ(journalRows(*store), before + names.size());

    // The run after the first thousand cannot be journalled.
    ASSERT_EQ(names.indexOf(QStringLiteral("Копия 1150")), 1050);
    test::refuse(*store, "no_journal", "INSERT", "tabOtchet", "NEW.Name_ob = 'Копия 1150'");
    const auto stopped = test::runCli(dir.path(), {"--verbose", "run", "--all"});
    EXPECT_EQ(stopped.status, 1);
    EXPECT_TRUE(stopped.err.contains(QStringLiteral("refused"))) << stopped.err.toStdString();
    EXPECT_FALSE(stopped.out.trimmed().endsWith(QLatin1Char(']'))) << "the array is not closed";
    const QJsonArray first = QJsonDocument::fromJson((stopped.out.trimmed() + "]").toUtf8()).array();
    ASSERT_EQ(first.size(), 1000);
    EXPECT_EQ(first.last().toObject(), printed[999].toObject());
    EXPECT_EQ(journalRows(*store), before + names.size() + 1000);
}

TEST(CliFormat, WritesBothTexts)
{
    test::TempFolder dir;
    EXPECT_EQ(test::runCli(dir.path(), {"format", "result", "1.5e-7"}).out.trimmed(),
              QStringLiteral("\"1,50E-07\""));
    EXPECT_EQ(test::runCli(dir.path(), {"format", "detail", "-2,25"}).out.trimmed(),
              QStringLiteral("\"-2,25E+00\""));
    EXPECT_EQ(test::runCli(dir.path(), {"format", "result", "1234.5678"}).out.trimmed(),
              QStringLiteral("\"1234,568\""));
    const auto bad = test::runCli(dir.path(), {"format", "result", "abc"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_TRUE(bad.err.contains(QStringLiteral("не является числом")));
}

}  // namespace
