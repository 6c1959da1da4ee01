// veltron-cli init and copy-store.
#include "cli/cli_support.h"
#include "common/test_store.h"
#include "db/schema.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace veltron;

namespace {

// Every row of a table as text, doubles with all their digits, sorted.
QStringList dump(const db::Store& store, const db::TableDef& table)
{
    QStringList names;
    for (const auto& f : table.fields)
        names << f.name;
    QStringList rows;
    for (const QSqlRecord& r : store.query(QStringLiteral("SELECT %1 FROM %2").arg(names.join(", "), table.name), {},
                                           table.base)) {
        QStringList cells;
        for (std::size_t i = 0; i < table.fields.size(); ++i) {
            const QVariant v = r.value(int(i));
            if (v.isNull())
                cells << QStringLiteral("NULL");
            else if (table.fields[i].type == db::FieldType::DateTime)
                cells << v.toDateTime().toString(Qt::ISODateWithMs);
            else if (table.fields[i].type == db::FieldType::Double || table.fields[i].type == db::FieldType::Integer)
                cells << QString::number(v.toDouble(), 'g', 17);
            else
                cells << v.toString();
        }
        rows << cells.join(QLatin1Char('|'));
    }
    rows.sort();
    return rows;
}

// The tables and rows a copy or init printed.
std::map<QString, int> printedTables(const QString& out)
{
    std::map<QString, int> tables;
    for (const QJsonValue& v : QJsonDocument::fromJson(out.toUtf8()).array())
        tables[v.toObject()["table"].toString()] = v.toObject()["rows"].toInt();
    return tables;
}

// A calculation with awkward numbers and names, a pool entry and a journal row.
void addCalculation(db::Store& store)
{
    store.exec("INSERT INTO tabRasch (Id, Name) VALUES (?, ?)", {12, QStringLiteral("Цех 'Б' — ёмкость Е-1")});
    store.exec("INSERT INTO tabMain (Id, Name_poverhn, t_kontakt, S_kontakt, S_G, Tempv, Tempp, Tg, nyu, f131, z, "
               "znPn, znPn1, Lnkpr, znLnkpr, Uv, opNyu, A, G, Pn) "
               "VALUES (12, ?, 3600, ?, ?, -12.5, 20, 20, 1, 0, 0.1, 0, 0, 0, 0, 0, 0, 0, 0, 1)",
               {QStringLiteral("Бетон"), 100.0 / 3, 0.1 + 0.2});
    const QString insert = QStringLiteral(
        "INSERT INTO tabBloki (Id_Rasch, Id, Name_blok, Name, V_GF, V_PGF, Davl, Temp, Plotn_GF, Plotn_PGF, Adiab, "
        "S_sech, Koef_gidro, t, pVist, pVistG) VALUES (12, ?, ?, 'Пропан', ?, 8, ?, 30, 500, 2, 1.13, 0.001, 0.6, "
        "5, 340, 340)");
    store.exec(insert, {1, QStringLiteral("Емкость «Е-1»"), 2.0 / 3, 1.0});
    store.exec(insert, {2, QStringLiteral("Трубопровод"), 0.1, 1.6});
    store.exec("INSERT INTO tabKR (Id, pName, E11, Wt) VALUES (1, ?, ?, ?)",
               {QStringLiteral("Блок ё"), 1e-300, 6.02214076e23});
    store.exec("INSERT INTO tabOtchet (Date, Name_ob, Conc) VALUES (?, ?, ?)",
               {QDateTime(QDate(2024, 2, 29), QTime(23, 59, 58, 125)), QStringLiteral("Цех"), QStringLiteral("Полный расчет")});
}

class ServerCli : public ::testing::Test {
protected:
    void SetUp() override { test::useServerSchema(); }

    test::CliResult cli(const QString& dataDir, const QStringList& args)
    {
        return test::runCliWith(QStringList{"--data", dataDir} + args);
    }
    test::CliResult onServer(const QStringList& args)
    {
        return test::runCliWith(QStringList{"--data", folder.path(), "--dsn", test::serverDsn()} + args);
    }
    std::unique_ptr<db::Store> server() { return db::Store::openOdbc(folder.path(), test::serverDsn()); }

    test::TempFolder folder;
};

}  // namespace

TEST(EmbeddedCli, InitCreatesTheStoreOfAnEmptyFolderOnce)
{
    test::TempFolder dir;
    const auto made = test::runCliWith({"--data", dir.path(), "init"});
    ASSERT_EQ(made.status, 0) << made.err.toStdString();
    EXPECT_GT(printedTables(made.out)["SubstChar"], 0);
    EXPECT_TRUE(QFile::exists(dir.file("bdVeltron.sqlite")));
    const auto again = test::runCliWith({"--data", dir.path(), "init"});
    EXPECT_EQ(again.status, 1);
    EXPECT_TRUE(again.err.contains(QStringLiteral("уже есть таблицы программы"))) << again.err.toStdString();
}

TEST_F(ServerCli, InitCreatesTheTablesOnceAndOtherCommandsAskForIt)
{
    const auto before = onServer({"run", "--all"});
    EXPECT_EQ(before.status, 1);
    EXPECT_TRUE(before.err.contains(QStringLiteral("нет таблиц программы. Создайте их командой: veltron-cli --dsn %1 init")
                                        .arg(test::serverDsn())))
        << before.err.toStdString();
    EXPECT_FALSE(server()->hasTables());

    const auto made = onServer({"init"});
    ASSERT_EQ(made.status, 0) << made.err.toStdString();
    const auto tables = printedTables(made.out);
    EXPECT_EQ(tables.size(), db::schema().size());
    EXPECT_GT(tables.at("SubstChar"), 0);
    EXPECT_EQ(tables.at("tabRasch"), server()->query("SELECT COUNT(*) FROM tabRasch").first().value(0).toInt());
    EXPECT_FALSE(QFile::exists(folder.file("bdVeltron.sqlite"))) << "the embedded store is not made";

    server()->exec("INSERT INTO tabRasch1 (Id, Name) VALUES (?, ?)", {77, QStringLiteral("Свой")});
    const auto again = onServer({"init"});
    EXPECT_EQ(again.status, 1);
    EXPECT_TRUE(again.err.contains(QStringLiteral("уже есть таблицы программы"))) << again.err.toStdString();
    EXPECT_EQ(server()->query("SELECT * FROM tabRasch1 WHERE Id = 77").size(), 1);
    EXPECT_EQ(onServer({"run", "--all"}).status, 0);
}

TEST_F(ServerCli, CopyToTheServerAndBackKeepsEveryRowAndEveryResult)
{
    test::TempFolder source, back;
    {
        auto store = db::Store::openEmbedded(source.path());
        addCalculation(*store);
    }
    const auto to = cli(source.path(), {"copy-store", "--to", test::serverDsn()});
    ASSERT_EQ(to.status, 0) << to.err.toStdString();
    const auto printed = printedTables(to.out);
    {
        auto from = db::Store::openEmbedded(source.path());
        auto copy = server();
        ASSERT_EQ(printed.size(), db::schema().size());
        for (const db::TableDef& table : db::schema()) {
            EXPECT_EQ(dump(*copy, table), dump(*from, table)) << table.name.toStdString();
            EXPECT_EQ(printed.at(table.name), dump(*from, table).size()) << table.name.toStdString();
        }
    }

    const auto fromServer = cli(back.path(), {"copy-store", "--from", test::serverDsn()});
    ASSERT_EQ(fromServer.status, 0) << fromServer.err.toStdString();
    {
        auto from = db::Store::openEmbedded(source.path());
        auto copy = db::Store::openEmbedded(back.path());
        for (const db::TableDef& table : db::schema())
            EXPECT_EQ(dump(*copy, table), dump(*from, table)) << table.name.toStdString();
    }

    const auto embedded = cli(source.path(), {"run", "--all"});
    const auto shared = onServer({"run", "--all"});
    ASSERT_EQ(embedded.status, 0) << embedded.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(shared.out.toUtf8()).array().size(), 2);
    EXPECT_EQ(shared.out, embedded.out);

    // A target with data is replaced only when asked.
    const auto refused = cli(source.path(), {"copy-store", "--to", test::serverDsn()});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("уже есть данные"))) << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains(QStringLiteral("--replace")));
    EXPECT_EQ(cli(back.path(), {"copy-store", "--from", test::serverDsn()}).status, 1);
    EXPECT_EQ(cli(source.path(), {"copy-store", "--to", test::serverDsn(), "--replace"}).status, 0);
    EXPECT_EQ(server()->query("SELECT COUNT(*) FROM tabOtchet").first().value(0).toInt(),
              db::Store::openEmbedded(source.path())->query("SELECT COUNT(*) FROM tabOtchet").first().value(0).toInt());
}

TEST_F(ServerCli, FailedCopyLeavesTheTargetAsItWas)
{
    test::TempFolder source;
    db::Store::openEmbedded(source.path());
    auto target = test::openStore(folder);
    target->exec("INSERT INTO tabRasch (Id, Name) VALUES (?, ?)", {77, QStringLiteral("Свой")});
    const db::TableDef& nyu = *db::findTable("tabNyu");
    const QStringList before = dump(*target, *db::findTable("tabRasch"));

    // The copy fails at one of the last tables.
    test::refuse(*target, "stop_copy", "INSERT", "tabNyu");
    const auto failed = cli(source.path(), {"copy-store", "--to", test::serverDsn(), "--replace"});
    EXPECT_EQ(failed.status, 1);
    EXPECT_TRUE(failed.out.isEmpty());
    EXPECT_TRUE(failed.err.contains(QStringLiteral("refused"))) << failed.err.toStdString();
    EXPECT_EQ(dump(*target, *db::findTable("tabRasch")), before);
    EXPECT_FALSE(dump(*target, nyu).isEmpty());
    test::dropRefusal(*target, "stop_copy", "tabNyu");

    // A value the target's field cannot hold stops the copy before anything changes.
    db::Store::openEmbedded(source.path())->exec("UPDATE tabMain SET nyu = 'много'");
    const auto bad = cli(source.path(), {"copy-store", "--to", test::serverDsn(), "--replace"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_TRUE(bad.err.contains(QStringLiteral("Таблица tabMain, поле nyu: значение «много»"))) << bad.err.toStdString();
    EXPECT_EQ(dump(*target, *db::findTable("tabRasch")), before);
}
