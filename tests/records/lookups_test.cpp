// The records the screens read and write besides calculations and blocks:
// directory lookups, run settings, the report folder and the complex pool.
#include "common/test_store.h"
#include "records/calculations.h"
#include "records/complex_pool.h"
#include "records/directories.h"
#include "records/reference_lists.h"
#include "records/report_folder.h"
#include "records/user_memory.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QSqlRecord>

using namespace veltron;
using namespace veltron::records;

namespace {

class Lookups : public ::testing::Test {
protected:
    void SetUp() override { store = test::openStore(folder); }

    test::TempFolder folder;
    std::unique_ptr<db::Store> store;
};

}  // namespace

TEST_F(Lookups, SubstancesBySortedKindAndByNameWithApostrophes)
{
    store->exec("DELETE FROM SubstChar");
    const char* insert = "INSERT INTO SubstChar (Name, Vid_vva, PokAdiab, Plotn_GF, Mol_massa) VALUES (?, ?, ?, ?, ?)";
    store->exec(insert, {QStringLiteral("бутан"), 1, 1.1, 580.0, 58.12});
    store->exec(insert, {QStringLiteral("Аммиак"), 1, 1.31, 682.0, 17.03});
    store->exec(insert, {QStringLiteral("Смесь 'А'"), 2, 1.05, 730.0, QVariant()});
    EXPECT_EQ(substanceNames(*store, 1), (QStringList{"Аммиак", "бутан"}));
    EXPECT_EQ(substanceNames(*store, 2), QStringList{"Смесь 'А'"});

    const auto mixture = findSubstance(*store, QStringLiteral("Смесь 'А'"));
    ASSERT_TRUE(mixture.has_value());
    EXPECT_EQ(mixture->Vid_vva, 2);
    EXPECT_EQ(mixture->PokAdiab, 1.05);
    EXPECT_EQ(mixture->Plotn_GF, 730);
    EXPECT_FALSE(mixture->Mol_massa.has_value());
    EXPECT_EQ(findSubstance(*store, QStringLiteral("бутан"))->Mol_massa, 58.12);
    EXPECT_FALSE(findSubstance(*store, QStringLiteral("Бутан 2")).has_value());
}

TEST_F(Lookups, SurfacesFuelKindsAndTheEvaporationTable)
{
    const auto concrete = findSurface(*store, QStringLiteral("Бетон"));
    ASSERT_TRUE(concrete.has_value());
    EXPECT_EQ(concrete->p, 2400);
    EXPECT_EQ(concrete->lyambda, 1.86);
    EXPECT_EQ(concrete->c, 0.84);
    EXPECT_FALSE(findSurface(*store, QStringLiteral("Нет такой")).has_value());
    const QStringList names = surfaceNames(*store);
    ASSERT_FALSE(names.isEmpty());
    EXPECT_TRUE(names.contains(QStringLiteral("Бетон")));

    // Fuel kinds come in the order they were entered, not by name, also
    // after a change (a server moves a changed row to the end of its table)
    // and with a new kind, which goes last.
    store->exec("DELETE FROM tabGoryuch");
    store->exec("INSERT INTO tabGoryuch (Name, z, Poryadok) VALUES ('Пары ЛВЖ', 0.2, 1), ('Водород', 1, 2)");
    ASSERT_TRUE(saveDirectoryEntry(*store, Directory::FuelKinds, QStringLiteral("Пары ЛВЖ"),
                                   {QStringLiteral("Пары ЛВЖ"), {0.3}}));
    ASSERT_TRUE(saveDirectoryEntry(*store, Directory::FuelKinds, QString(), {QStringLiteral("Аммиак"), {0.5}}));
    const QList<FuelKind> kinds = fuelKinds(*store);
    ASSERT_EQ(kinds.size(), 3);
    EXPECT_EQ(kinds[0].Name, QStringLiteral("Пары ЛВЖ"));
    EXPECT_EQ(kinds[1].z, 1);
    EXPECT_EQ(kinds[2].Name, QStringLiteral("Аммиак"));
    QStringList listed;
    for (const DirectoryEntry& e : directoryEntries(*store, Directory::FuelKinds))
        listed << e.Name;
    EXPECT_EQ(listed, (QStringList{"Пары ЛВЖ", "Водород", "Аммиак"}));
    EXPECT_EQ(findFuelKind(*store, QStringLiteral("Пары ЛВЖ"))->z, 0.3);
    EXPECT_FALSE(findFuelKind(*store, QStringLiteral("Метан")).has_value());

    const auto rows = nyuRowsAt(*store, 0.5);
    ASSERT_GE(rows.size(), 2u);
    for (std::size_t i = 1; i < rows.size(); ++i)
        EXPECT_LT(rows[i - 1].T, rows[i].T);
    EXPECT_TRUE(nyuRowsAt(*store, 0.7).empty());

    store->exec("INSERT INTO tabG (t, G) VALUES (0, 0.5)");
    const std::vector<double> t = massTableTemperatures(*store);
    EXPECT_TRUE(std::is_sorted(t.begin(), t.end()));
    EXPECT_EQ(std::count(t.begin(), t.end(), 0.0), 1);
}

TEST_F(Lookups, RunSettingsRoundTripWithTheRulesOfTheFlags)
{
    const struct {
        const char* what;
        calc::RunSettings saved;
        calc::RunSettings read;
    } cases[] = {
        {"formulas and both single masses", {1, 1, 2, false, 0, true, 5, true, 2.5},
         {1, 1, 2, false, 0, true, 5, true, 2.5}},
        {"the total wins over the single masses", {0, 0, 1, true, 12, true, 5, true, 2.5},
         {0, 0, 1, true, 12, false, 0, false, 0}},
        {"a mass not entered reads as 0", {0, 1, 3, false, 7, false, 5, false, 0},
         {0, 1, 3, false, 0, false, 0, false, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(saveRunSettings(*store, 1, c.saved));
        const auto read = storedRunSettings(*store, 1);
        ASSERT_TRUE(read.has_value());
        EXPECT_TRUE(*read == c.read);
    }
    // Any other pressure code is the Antoine equation.
    store->exec("UPDATE tabMain SET Pn = 7 WHERE Id = 1");
    EXPECT_EQ(storedRunSettings(*store, 1)->Pn, 3);
    EXPECT_FALSE(saveRunSettings(*store, 999, {}));
    EXPECT_FALSE(storedRunSettings(*store, 999).has_value());
}

// The last calculation and the report folder are each user's own, kept
// apart for every store; the store's tables give each user the value to start from.
TEST_F(Lookups, EachUserKeepsHisOwnLastCalculationAndReportFolderOfEachStore)
{
    test::TempFolder home;
    store->exec("DELETE FROM tabPath");
    EXPECT_TRUE(storedReportFolder(*store).isEmpty());
    store->exec("INSERT INTO tabPath (Path) VALUES (?)", {QStringLiteral("/отчеты/цех 'А'")});
    recordOpening(*store, 7);

    UserMemory a(*store, home.file("a.ini"));
    UserMemory b(*store, home.file("b.ini"));
    EXPECT_EQ(a.lastCalculation(), 7);
    EXPECT_EQ(a.reportFolder(), QStringLiteral("/отчеты/цех 'А'"));
    a.rememberCalculation(9);
    a.rememberReportFolder(QStringLiteral("/home/a/отчеты"));
    recordOpening(*store, 9);
    EXPECT_EQ(b.lastCalculation(), 9) << "b starts from what the store holds when he first comes";
    EXPECT_EQ(b.reportFolder(), QStringLiteral("/отчеты/цех 'А'"));
    b.rememberCalculation(11);
    b.rememberReportFolder(QStringLiteral("/home/b"));
    recordOpening(*store, 11);
    EXPECT_EQ(a.lastCalculation(), 9);
    EXPECT_EQ(a.reportFolder(), QStringLiteral("/home/a/отчеты"));
    EXPECT_EQ(b.lastCalculation(), 11);
    EXPECT_EQ(b.reportFolder(), QStringLiteral("/home/b"));
    EXPECT_EQ(UserMemory(*store, home.file("a.ini")).lastCalculation(), 9) << "kept between program runs";

    // Another data folder is another store, remembered apart (on the server
    // every folder of the test reaches the same data source).
    if (!test::onServer()) {
        test::TempFolder otherFolder;
        const auto other = test::openStore(otherFolder);
        other->exec("DELETE FROM tabPath");
        recordOpening(*other, 3);
        EXPECT_EQ(UserMemory(*other, home.file("a.ini")).lastCalculation(), 3);
        EXPECT_TRUE(UserMemory(*other, home.file("a.ini")).reportFolder().isEmpty());
        EXPECT_EQ(a.lastCalculation(), 9);
    }
    EXPECT_NE(UserMemory::storeKey({QStringLiteral("/data"), QString()}),
              UserMemory::storeKey({QStringLiteral("/data"), QStringLiteral("Veltron")}));
    EXPECT_EQ(UserMemory::storeKey({QStringLiteral("/data/x/.."), QString()}),
              UserMemory::storeKey({QStringLiteral("/data"), QString()}));
}

TEST_F(Lookups, PoolEntriesTakeTheNextIdAndANameOnlyOnce)
{
    store->exec("DELETE FROM tabKR");
    store->exec("INSERT INTO tabKR (Id, pName, E11) VALUES (7, 'Другой', 1)");
    PoolEntry e{QStringLiteral("Резервуар 'Е-1'"), 1, 2, 3, 4, 5, 6, 7.5};
    EXPECT_TRUE(addPoolEntry(*store, e));
    const auto rows = store->query("SELECT * FROM tabKR WHERE pName = ?", {e.pName});
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].value("Id").toInt(), 8);
    EXPECT_EQ(rows[0].value("E24").toDouble(), 6);
    EXPECT_EQ(rows[0].value("Wt").toDouble(), 7.5);

    e.E11 = 100;
    EXPECT_FALSE(addPoolEntry(*store, e));
    EXPECT_EQ(store->query("SELECT * FROM tabKR").size(), 2);
    EXPECT_EQ(store->query("SELECT E11 FROM tabKR WHERE Id = 8")[0].value(0).toDouble(), 1);
}
