// veltron-cli init and copy-store.
#include "cli/cli_support.h"
#include "common/test_store.h"
#include "db/data_source.h"
#include "db/schema.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QDir>
#include <QSettings>
#include <QUuid>

#include <sys/stat.h>

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

// ----- What the store commands refuse, and what they leave behind.

namespace {

// A connection string to a SQLite file through the ODBC driver: a shared
// source that needs no server.
QString sqliteSource(const QString& file)
{
    return QStringLiteral("Driver=SQLite3;Database=%1").arg(file);
}

}  // namespace

// Another program's SQLite file where the main database belongs: neither a
// command nor init changes it or adds tables beside it.
TEST(EmbeddedCli, ForeignDatabaseFileIsRefusedByEveryCommand)
{
    test::TempFolder dir;
    {
        auto store = db::Store::openEmbedded(dir.path());
    }
    QFile::remove(dir.file("bdVeltron.sqlite"));
    QFile::remove(dir.file("tabMirvel.sqlite"));
    {
        const QString c = QStringLiteral("foreign");
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", c);
        db.setDatabaseName(dir.file("bdVeltron.sqlite"));
        ASSERT_TRUE(db.open());
        QSqlQuery(db).exec("CREATE TABLE tabMain (Schet INTEGER, Summa REAL)");
        QSqlQuery(db).exec("INSERT INTO tabMain VALUES (1, 2.5)");
        db.close();
    }
    QSqlDatabase::removeDatabase("foreign");
    const QByteArray foreign = test::readFile(dir.file("bdVeltron.sqlite"));
    for (const QStringList& command : {QStringList{"run", "--all"}, QStringList{"init"},
                                       QStringList{"copy-store", "--from", sqliteSource(dir.file("x.db"))}}) {
        const auto r = test::runCliWith(QStringList{"--data", dir.path()} + command);
        EXPECT_EQ(r.status, 1) << command.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("«%1» — база данных другой программы").arg(dir.file("bdVeltron.sqlite"))))
            << command.join(' ').toStdString() << ": " << r.err.toStdString();
        EXPECT_EQ(test::readFile(dir.file("bdVeltron.sqlite")), foreign);
        EXPECT_FALSE(QFile::exists(dir.file("tabMirvel.sqlite")));
    }
}

// An init killed before stores were committed as one could leave the second
// file made and the main one empty: init completes such a store.
TEST(EmbeddedCli, InitCompletesAPartlyMadeStore)
{
    test::TempFolder dir;
    ASSERT_EQ(test::runCliWith({"--data", dir.path(), "init"}).status, 0);
    test::writeFile(dir.file("bdVeltron.sqlite"), {});
    const auto before = test::runCliWith({"--data", dir.path(), "run", "--all"});
    EXPECT_EQ(before.status, 1);
    EXPECT_TRUE(before.err.contains(QStringLiteral("нет базы данных программы"))) << before.err.toStdString();

    const auto made = test::runCliWith({"--data", dir.path(), "init"});
    ASSERT_EQ(made.status, 0) << made.err.toStdString();
    const auto tables = printedTables(made.out);
    EXPECT_EQ(tables.size(), db::schema().size());
    EXPECT_EQ(tables.at("tabRasch"), 1);
    EXPECT_GT(tables.at("tabDolgn"), 0);
    EXPECT_EQ(test::runCliWith({"--data", dir.path(), "run", "--all"}).status, 0);
}

// A store another program holds is busy, not damaged; the database's own
// words only with --verbose.
TEST(EmbeddedCli, BusyStoreIsReportedAsBusy)
{
    test::TempFolder dir;
    test::storeOptions(dir.path());
    QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "holder");
    other.setDatabaseName(dir.file("bdVeltron.sqlite"));
    ASSERT_TRUE(other.open());
    QSqlQuery lock(other);
    ASSERT_TRUE(lock.exec("BEGIN EXCLUSIVE"));
    const auto r = test::runCliWith({"--data", dir.path(), "--verbose", "run", "--all"});
    lock.exec("ROLLBACK");
    lock.finish();
    other.close();
    other = QSqlDatabase();
    QSqlDatabase::removeDatabase("holder");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("занята другой программой. Повторите действие немного позже")))
        << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(QStringLiteral("повреждён")));
    EXPECT_TRUE(r.err.contains(QStringLiteral("\n  ")) && r.err.contains(QStringLiteral("database is locked")))
        << "--verbose shows the database's own words";
    EXPECT_EQ(test::runCliWith({"--data", dir.path(), "run", "--all"}).status, 0);
}

// A store file that may not be written is named as such, not its folder.
TEST(EmbeddedCli, ReadOnlyStoreFileIsNamedNotItsFolder)
{
    test::TempFolder dir;
    test::storeOptions(dir.path());
    ::chmod(QFile::encodeName(dir.path()).constData(), 0777);
    ::chmod(QFile::encodeName(dir.file("tabMirvel.sqlite")).constData(), 0666);
    ::chmod(QFile::encodeName(dir.file("bdVeltron.sqlite")).constData(), 0444);
    const auto r = test::runCliUnprivileged({"--data", dir.path(), "run", "--all"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Файл базы данных «%1» доступен только для чтения")
                                   .arg(dir.file("bdVeltron.sqlite"))))
        << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(QStringLiteral("Папка данных")) || r.err.contains(QStringLiteral("В папку данных")));
}

// No message and no line of --verbose repeats a password of a connection string.
TEST(EmbeddedCli, PasswordsOfConnectionStringsAreNeverRepeated)
{
    test::TempFolder dir;
    const QStringList sources = {
        sqliteSource(dir.file("empty.db")) + ";Password=S3cr3t-Pw!",
        sqliteSource(dir.file("empty.db")) + ";PWD={S3cr3t;Pw}",
        "Driver=PostgreSQL Unicode;Servername=127.0.0.1;Port=1;Username=u;Password=S3cr3t-Pw!",
        "Driver=PostgreSQL Unicode;Servername=127.0.0.1;Port=1;pwd=S3cr3t-Pw!;Username=u",
    };
    for (const QString& dsn : sources) {
        for (const QStringList& command : {QStringList{"run", "--all"}, QStringList{"--verbose", "model2"},
                                           QStringList{"copy-store", "--from", dsn}}) {
            const auto r = test::runCliWith(QStringList{"--data", dir.path(), "--dsn", dsn} + command);
            const std::string what = (dsn + " " + command.join(' ')).toStdString();
            EXPECT_EQ(r.status, 1) << what;
            EXPECT_FALSE(r.err.isEmpty()) << what;
            EXPECT_FALSE(r.err.contains(QStringLiteral("S3cr3t"))) << what << ": " << r.err.toStdString();
            EXPECT_FALSE(r.out.contains(QStringLiteral("S3cr3t"))) << what;
        }
    }
}

// A damaged embedded store with "Data Source.txt" naming a shared source:
// the commands work on that source and say so, and why.
TEST(EmbeddedCli, FallingBackToTheNamedSourceIsAnnounced)
{
    test::TempFolder dir, shared;
    const QString source = sqliteSource(shared.file("shared.db"));
    ASSERT_EQ(test::runCliWith({"--data", shared.path(), "init"}).status, 0);
    ASSERT_EQ(test::runCliWith({"--data", shared.path(), "copy-store", "--to", source}).status, 0);
    test::writeFile(dir.file("bdVeltron.sqlite"), QByteArray(4096, 'z'));
    ASSERT_TRUE(db::writeDataSourceName(dir.path(), source));
    for (const QStringList& command : {QStringList{"run", "--all"}, QStringList{"model2", "--mass", "1", "--energy", "1"}}) {
        const auto r = test::runCliWith(QStringList{"--data", dir.path()} + command);
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("Встроенная база данных не открылась"))) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("повреждён"))) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("Работа идет с источником данных ODBC «%1»").arg(source)))
            << r.err.toStdString();
    }
    EXPECT_EQ(test::readFile(dir.file("bdVeltron.sqlite")), QByteArray(4096, 'z'));
}

// copy-store --from makes a store in a named folder only when the folder is
// new or empty: one that holds other files is more likely a mistyped one.
TEST(EmbeddedCli, CopyFromASourceMakesAStoreOnlyInAnEmptyFolder)
{
    test::TempFolder dir, shared;
    const QString source = sqliteSource(shared.file("shared.db"));
    ASSERT_EQ(test::runCliWith({"--data", shared.path(), "init"}).status, 0);
    ASSERT_EQ(test::runCliWith({"--data", shared.path(), "copy-store", "--to", source}).status, 0);

    test::writeFile(dir.file("notes.txt"), "мои заметки");
    const auto refused = test::runCliWith({"--data", dir.path(), "copy-store", "--from", source});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("не пуста"))) << refused.err.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"notes.txt"});

    for (const QString& folder : {dir.file("new"), dir.file("new/deeper")}) {
        const auto made = test::runCliWith({"--data", folder, "copy-store", "--from", source});
        EXPECT_EQ(made.status, 0) << made.err.toStdString();
        EXPECT_EQ(test::runCliWith({"--data", folder, "run", "--all"}).status, 0);
    }
}

// ----- A server user without rights on the program's tables.

namespace {

// A login role of the test's own on the test server, dropped at the end.
class ServerRole : public ServerCli {
protected:
    void SetUp() override
    {
        ServerCli::SetUp();
        role = QStringLiteral("u") + QUuid::createUuid().toString(QUuid::Id128).left(12);
        admin = server();
        schemaOfTest = admin->query("SELECT current_schema()").first().value(0).toString();
        admin->exec(QStringLiteral("CREATE ROLE %1 LOGIN").arg(role));
    }
    void TearDown() override
    {
        admin->exec(QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE").arg(role));
        admin->exec(QStringLiteral("DROP OWNED BY %1").arg(role));
        admin->exec(QStringLiteral("DROP ROLE %1").arg(role));
    }

    // The test server's database as the role.
    QString asRole() const
    {
        const QSettings ini(qEnvironmentVariable("ODBCINI"), QSettings::IniFormat);
        return QStringLiteral("Driver=PostgreSQL Unicode;Servername=127.0.0.1;Port=%1;Database=veltron;Username=%2")
            .arg(ini.value(test::serverDsn() + "/Port").toString(), role);
    }
    test::CliResult cliAsRole(const QStringList& args, const QStringList& env = {})
    {
        return test::runCliWith(QStringList{"--data", folder.path(), "--dsn", asRole()} + args, env);
    }

    QString role;
    QString schemaOfTest;
    std::unique_ptr<db::Store> admin;
};

}  // namespace

// The tables are there, the user may not use them: he is told which rights
// he lacks, not that there are no tables; init makes nothing.
TEST_F(ServerRole, MissingRightsAreNamedAndNotTakenForMissingTables)
{
    ASSERT_EQ(onServer({"init"}).status, 0);
    const struct {
        QString grant;
        QString said;
    } cases[] = {
        {{}, QStringLiteral("нет права USAGE на схему «%1»")},
        {QStringLiteral("GRANT USAGE ON SCHEMA %1 TO %2"),
         QStringLiteral("нет прав SELECT, INSERT, UPDATE, DELETE на таблицы Explosives, SubstChar, tab_time, tabBetta, "
                        "ещё 14 (схема «%1»)")},
        {QStringLiteral("GRANT SELECT ON ALL TABLES IN SCHEMA %1 TO %2"),
         QStringLiteral("нет прав INSERT, UPDATE, DELETE на таблицы Explosives")},
    };
    for (const auto& c : cases) {
        if (!c.grant.isEmpty())
            admin->exec(c.grant.arg(schemaOfTest, role));
        for (const QStringList& command : {QStringList{"run", "--all"}, QStringList{"init"}}) {
            const auto r = cliAsRole(command);
            const std::string what = (c.grant + " " + command.join(' ')).toStdString();
            EXPECT_EQ(r.status, 1) << what;
            EXPECT_TRUE(r.err.contains(QStringLiteral("есть, но у пользователя «%1» нет прав на них").arg(role)))
                << what << ": " << r.err.toStdString();
            EXPECT_TRUE(r.err.contains(c.said.arg(schemaOfTest))) << what << ": " << r.err.toStdString();
            EXPECT_FALSE(r.err.contains(QStringLiteral("нет таблиц программы"))) << what;
        }
    }
    admin->exec(QStringLiteral("GRANT INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA %1 TO %2").arg(schemaOfTest, role));
    const auto granted = cliAsRole({"run", "--all"});
    EXPECT_EQ(granted.status, 0) << granted.err.toStdString();
}

// A user who owns a schema of his own, first in his search path: init does
// not make a private second store there while the shared tables, which he
// may not use, stand in the next schema.
TEST_F(ServerRole, InitMakesNoSecondStoreBesideTablesTheUserCannotUse)
{
    ASSERT_EQ(onServer({"init"}).status, 0);
    admin->exec(QStringLiteral("CREATE SCHEMA %1 AUTHORIZATION %1").arg(role));
    admin->exec(QStringLiteral("GRANT USAGE ON SCHEMA %1 TO %2").arg(schemaOfTest, role));
    const QStringList path{QStringLiteral("PGOPTIONS=-c search_path=%1,%2").arg(role, schemaOfTest)};
    const auto r = cliAsRole({"init"}, path);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Новые таблицы рядом с ними не создаются"))) << r.err.toStdString();
    EXPECT_EQ(admin->query("SELECT COUNT(*) FROM pg_tables WHERE schemaname = ?", {role}).first().value(0).toInt(), 0);
}
