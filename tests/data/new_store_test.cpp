// A store created in an empty folder holds every seed row, numbers as numbers.
#include "common/test_support.h"
#include "data/seed_files.h"

#include "db/store.h"

#include <gtest/gtest.h>

using veltron::test::SeedFile;
namespace db = veltron::db;

TEST(NewStore, HoldsEveryRowOfEverySeedFile)
{
    veltron::test::TempFolder dir;
    auto store = db::Store::openEmbedded(dir.path());
    for (const QString& rel : SeedFile::all()) {
        const auto f = SeedFile::load(rel);
        const QString table = rel.section('/', -1).chopped(4);
        const db::Base base = rel.startsWith("second/") ? db::Base::Second : db::Base::Main;
        EXPECT_EQ(store->query(QStringLiteral("SELECT * FROM %1").arg(table), {}, base).size(), f.rowCount())
            << rel.toStdString();
    }
}

TEST(NewStore, LookupsOfTheEngineFindTheirRows)
{
    veltron::test::TempFolder dir;
    auto store = db::Store::openEmbedded(dir.path());
    // First band that covers 2 MPa for k = 1.1 is 1-5 MPa.
    const auto beta = store->query("SELECT Betta FROM tabBetta WHERE k = 1.1 AND P >= ? ORDER BY P ASC", {2.0});
    ASSERT_FALSE(beta.isEmpty());
    EXPECT_DOUBLE_EQ(beta.first().value(0).toDouble(), 2.95);

    const auto nyu = store->query("SELECT Nyu FROM tabNyu WHERE V = 0.5 AND T = 20");
    ASSERT_EQ(nyu.size(), 1);
    EXPECT_DOUBLE_EQ(nyu.first().value(0).toDouble(), 5.4);

    const auto s = store->query("SELECT * FROM SubstChar WHERE Name = ?", {QString::fromUtf8("Бутадиен-1,3")});
    ASSERT_EQ(s.size(), 1) << "a quoted name with a comma";
    EXPECT_GT(s.first().value("Mol_massa").toDouble(), 54.0);
    EXPECT_TRUE(s.first().value("Tvsp").isNull()) << "an empty field is NULL";

    const auto last = store->query("SELECT Id FROM tab_time");
    ASSERT_EQ(last.size(), 1);
    const auto example = store->query("SELECT Name FROM tabRasch WHERE Id = ?", {last.first().value(0).toInt()});
    ASSERT_EQ(example.size(), 1);
    EXPECT_EQ(example.first().value(0).toString(), QString::fromUtf8("Пример — резервуар пропана"));
    EXPECT_EQ(store->query("SELECT * FROM tabBloki WHERE Id_Rasch = 1 ORDER BY Id").size(), 2);
}
