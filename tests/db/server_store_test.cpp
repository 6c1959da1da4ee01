// The store on the PostgreSQL test server: what only a shared server does.
#include "common/test_store.h"
#include "db/schema.h"
#include "db/store.h"

#include <gtest/gtest.h>

using namespace veltron;

namespace {

class ServerStore : public ::testing::Test {
protected:
    void SetUp() override { test::useServerSchema(); }

    std::unique_ptr<db::Store> connect() { return db::Store::openOdbc(folder.path(), test::serverDsn()); }

    test::TempFolder folder;
};

}  // namespace

TEST_F(ServerStore, DatabaseWithoutTheTablesIsLeftAloneUntilTheyAreCreatedWhole)
{
    auto store = connect();
    EXPECT_FALSE(store->hasTables());
    EXPECT_FALSE(connect()->hasTables()) << "connecting creates nothing";

    // A creation that fails half-way leaves no table behind: tabNyu, one of
    // the last tables, cannot be made while a type takes its name.
    store->exec("CREATE TYPE tabNyu AS (x INTEGER)");
    EXPECT_THROW(store->createSchema(true), db::StoreError);
    EXPECT_FALSE(store->hasTables());
    store->exec("DROP TYPE tabNyu");

    store->createSchema(true);
    EXPECT_TRUE(store->hasTables());
    for (const db::TableDef& table : db::schema())
        EXPECT_NO_THROW(store->query(QStringLiteral("SELECT * FROM %1").arg(table.name), {}, table.base))
            << table.name.toStdString();
    EXPECT_GT(store->query("SELECT COUNT(*) FROM SubstChar").first().value(0).toInt(), 0);
    EXPECT_EQ(store->query("SELECT COUNT(*) FROM tab_time").first().value(0).toInt(), 1);
    EXPECT_GT(store->query("SELECT COUNT(*) FROM tabDolgn", {}, db::Base::Second).first().value(0).toInt(), 0);
}

TEST_F(ServerStore, LostConnectionIsReportedAndTheNextOperationConnectsAgain)
{
    auto store = test::openStore(folder);
    store->exec("INSERT INTO tabRasch (Id, Name) VALUES (?, ?)", {5, QStringLiteral("Цех")});
    test::cutConnection(*store);
    try {
        store->query("SELECT Name FROM tabRasch WHERE Id = 5");
        FAIL() << "a lost connection must be reported";
    } catch (const db::StoreError& e) {
        EXPECT_TRUE(e.message().startsWith(
            QStringLiteral("Связь с базой данных «%1» прервана").arg(test::serverDsn())))
            << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(QStringLiteral("программа подключится к базе данных заново")));
    }
    EXPECT_EQ(store->query("SELECT Name FROM tabRasch WHERE Id = 5").first().value(0).toString(), QStringLiteral("Цех"));
}

TEST_F(ServerStore, ConnectionLostInsideATransactionKeepsNothingOfIt)
{
    auto store = test::openStore(folder);
    store->exec("INSERT INTO tabRasch (Id, Name) VALUES (?, ?)", {5, QStringLiteral("Цех")});
    try {
        store->transaction([&] {
            store->exec("UPDATE tabRasch SET Name = ? WHERE Id = 5", {QStringLiteral("Изменен")});
            store->exec("INSERT INTO tabBloki (Id_Rasch, Id) VALUES (5, 1)");
            test::cutConnection(*store);
            store->exec("INSERT INTO tabBloki (Id_Rasch, Id) VALUES (5, 2)");
        });
        FAIL() << "a lost connection must be reported";
    } catch (const db::StoreError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("прервана"))) << e.message().toStdString();
    }
    EXPECT_EQ(store->query("SELECT Name FROM tabRasch WHERE Id = 5").first().value(0).toString(), QStringLiteral("Цех"));
    EXPECT_TRUE(store->query("SELECT * FROM tabBloki WHERE Id_Rasch = 5").isEmpty());
    // The transactions that follow work as before.
    store->transaction([&] { store->exec("INSERT INTO tabBloki (Id_Rasch, Id) VALUES (5, 1)"); });
    EXPECT_EQ(store->query("SELECT * FROM tabBloki WHERE Id_Rasch = 5").size(), 1);
}
